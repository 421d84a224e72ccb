// Filling the list views on the test device with FreeType. A table of 2,000 rows of three text cells
// filled with its layout deferred against filled row by row: deferred runs one visibility pass, the other
// at least one per row, so it grows with the square of the rows. And 2,000 rows appended to a list
// against 200: linear, apart from the container's ordered insert of each row.
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiTableBox.h"
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

constexpr int kTableRows = 2000;

// The test device with a screen, the texture formats and the renderer's lists.
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
    }
    ~Scene() {
        g3dRenderer::Shutdown();
        g2dScreen::Deinitialize();
        g2dShutdown();
        plInstallServices({});
    }
    void ClearLog() { m_d3d.GetLog().clear(); }

  private:
    plTestTimeSource m_time;
    plFakeD3d m_d3d;
    plFreeTypeFonts m_fonts;
};

Scene* g_scene = nullptr;

envString Text(int i) {
    return envString(std::to_string(i).c_str());
}

void FillTable(benchmark::State& state, bool defer) {
    int passes = 0;
    for (auto _ : state) {
        auto table = std::make_unique<guiTableBox>();
        for (int c = 0; c < 3; ++c)
            table->InsertColumn(c, 100);
        table->SetRowHeight(20);
        table->SetSize(300, 200);
        const int before = table->GetVisibilityPassCount();
        table->SetDeferLayout(defer);
        for (int r = 0; r < kTableRows; ++r)
            for (int c = 0; c < 3; ++c)
                table->SetCellText(r, c, {Text(r * 3 + c)}, 0);
        table->SetDeferLayout(false);
        passes = table->GetVisibilityPassCount() - before;
        g_scene->ClearLog();
    }
    state.counters["passes"] = passes;
}

void BM_FillTableDeferred(benchmark::State& state) {
    FillTable(state, true);
}
BENCHMARK(BM_FillTableDeferred)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FillTableRowByRow(benchmark::State& state) {
    FillTable(state, false);
}
BENCHMARK(BM_FillTableRowByRow)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AppendListRows(benchmark::State& state) {
    for (auto _ : state) {
        auto list = std::make_unique<guiListBox>();
        list->SetRowHeight(20);
        list->SetSize(200, 200);
        for (int i = 0; i < state.range(0); ++i)
            list->AppendRow(Text(i));
        g_scene->ClearLog();
    }
}
BENCHMARK(BM_AppendListRows)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Scene scene;
    g_scene = &scene;
    benchReport reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const benchReport::Figures* deferred = reporter.Find("BM_FillTableDeferred/iterations:1");
    const benchReport::Figures* rowByRow = reporter.Find("BM_FillTableRowByRow/iterations:1");
    if (deferred && rowByRow && rowByRow->seconds > 0.0)
        std::printf(
            "2,000 x 3 table cells: deferred %.1f ms (%.0f passes), row by row %.1f ms (%.0f passes), "
            "ratio deferred/row by row %.3f\n",
            deferred->seconds * 1e3, deferred->counters.at("passes"), rowByRow->seconds * 1e3,
            rowByRow->counters.at("passes"), deferred->seconds / rowByRow->seconds);
    const benchReport::Figures* few = reporter.Find("BM_AppendListRows/200/iterations:1");
    const benchReport::Figures* many = reporter.Find("BM_AppendListRows/2000/iterations:1");
    if (few && many && few->seconds > 0.0)
        std::printf("list of 10 on view: 2,000 rows %.1f ms / 200 rows %.1f ms = %.2f (linear: 10)\n",
                    many->seconds * 1e3, few->seconds * 1e3, many->seconds / few->seconds);
    g_scene = nullptr;
    benchmark::Shutdown();
    return 0;
}
