// A 256 x 128 text widget given 1,000 texts through SetText on the test device with FreeType: the same
// text each time (compared, never drawn) against a changing one (drawn again each time). Prints the
// unchanged/changing time ratio, whose target is at most 0.02.
#include "Engine/GUI/Gui/guiText.h"
#include "benchFakeScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kTexts = 1000;

// One text widget on the fake screen.
struct Scene : benchFakeScreen {
    Scene() : benchFakeScreen(800, 600) {
        text = std::make_unique<guiText>();
        text->SetText(envString("Score 0"), 0);
        for (int i = 0; i < 2; ++i)
            texts[i] = envString(("Score " + std::to_string(i + 1)).c_str());
    }

    std::unique_ptr<guiText> text;
    envString texts[2];
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
    Scene scene;
    g_scene = &scene;
    return benchRunAndPrint(argc, argv, [](const benchReport& reporter) {
        const benchReport::Figures* same = reporter.Find("BM_SetTextUnchanged/iterations:1");
        const benchReport::Figures* changing = reporter.Find("BM_SetTextChanging/iterations:1");
        if (same && changing && changing->seconds > 0.0)
            std::printf("1,000 SetText, 256 x 128: unchanged %.3f ms, changing %.3f ms, ratio %.5f (target "
                        "<= 0.02)\n",
                        same->seconds * 1e3, changing->seconds * 1e3, same->seconds / changing->seconds);
    });
}
