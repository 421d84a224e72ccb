// A 256 x 128 text widget given 1,000 texts through SetText on the test device with FreeType: the same
// text each time (compared, never drawn) against a changing one (drawn again each time). Prints the
// unchanged/changing time ratio, whose target is at most 0.02.
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTimeSource.h"
#include "benchReport.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kTexts = 1000;

// The test device with a screen, the texture formats and the renderer's lists; one text widget.
class Scene {
  public:
    Scene() {
        plInstallServices({.time = &m_time, .d3d = &m_d3d, .fonts = &m_fonts});
        g2dInitialize();
        g2dScreen::InitWindowed(800, 600, 0, 0);
        g3dSelectTextureFormats();
        g3dTextureManager::Initialize();
        g3dFragmentManager::Initialize();
        g3dRenderer::Initialize();
        text = std::make_unique<guiText>();
        text->SetText(envString("Score 0"), 0);
        for (int i = 0; i < 2; ++i)
            texts[i] = envString(("Score " + std::to_string(i + 1)).c_str());
    }
    ~Scene() {
        text.reset();
        g3dRenderer::Shutdown();
        g2dScreen::Deinitialize();
        g2dShutdown();
        plInstallServices({});
    }
    void ClearLog() { m_d3d.GetLog().clear(); }

    std::unique_ptr<guiText> text;
    envString texts[2];

  private:
    plTestTimeSource m_time;
    plFakeD3d m_d3d;
    plFreeTypeFonts m_fonts;
};

Scene* g_scene = nullptr;

void BM_SetTextUnchanged(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < kTexts; ++i)
            g_scene->text->SetText(g_scene->texts[0], 0);
        g_scene->ClearLog();
    }
}
BENCHMARK(BM_SetTextUnchanged)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SetTextChanging(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < kTexts; ++i)
            g_scene->text->SetText(g_scene->texts[i % 2], 0);
        g_scene->ClearLog();
    }
}
BENCHMARK(BM_SetTextChanging)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Scene scene;
    g_scene = &scene;
    benchReport reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const benchReport::Figures* same = reporter.Find("BM_SetTextUnchanged/iterations:1");
    const benchReport::Figures* changing = reporter.Find("BM_SetTextChanging/iterations:1");
    if (same && changing && changing->seconds > 0.0)
        std::printf(
            "1,000 SetText, 256 x 128: unchanged %.3f ms, changing %.3f ms, ratio %.5f (target <= 0.02)\n",
            same->seconds * 1e3, changing->seconds * 1e3, same->seconds / changing->seconds);
    g_scene = nullptr;
    benchmark::Shutdown();
    return 0;
}
