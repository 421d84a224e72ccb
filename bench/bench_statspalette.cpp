// What the ride gauges cost when nothing changed: 1,000 coStatsPalette::SetStats with the same values
// against 1,000 with changing ones, whose texts FreeType draws, on the recording device over the built
// tree. Equal texts are not drawn again, so the ratio should stay at most 0.05.
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "benchGuiScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kCalls = 1000;

// The gauges alone on the GUI's root.
struct GaugeScreen {
    benchGuiServices services;
    coStatsPalette* stats = nullptr;

    GaugeScreen() {
        benchSetRoot(coRootGui, LV_DATA_DIR "/Data/GUI");
        benchSetRoot(coRootText, LV_DATA_DIR "/Data/Text/Eng");
        coPrefs::SetDefaults();
        benchStartGuiScreen();
        guiWindowMgr::GetRoot()->SetSize(800, 600);
        stats = new coStatsPalette;
        guiWindowMgr::AddWindow(stats);
    }
    ~GaugeScreen() { benchStopGuiScreen(); }
};

GaugeScreen* g_screen = nullptr;

void BM_SetStatsUnchanged(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kCalls; ++i)
            g_screen->stats->SetStats(20.0f, 12.5f, 0.3f, 1.8f, -0.4f, 42.25f, 90.0f);
}
BENCHMARK(BM_SetStatsUnchanged)->Iterations(1);

void BM_SetStatsChanging(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kCalls; ++i) {
            const float f = static_cast<float>(i);
            g_screen->stats->SetStats(f * 0.05f, f * 0.1f, f * 0.01f, f * 0.02f, -f * 0.01f, f * 0.1f,
                                      200.0f);
        }
}
BENCHMARK(BM_SetStatsChanging)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    GaugeScreen screen;
    g_screen = &screen;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* unchanged = report.Find("BM_SetStatsUnchanged/iterations:1");
        const benchReport::Figures* changing = report.Find("BM_SetStatsChanging/iterations:1");
        if (unchanged && changing && changing->cpuSeconds > 0.0)
            std::printf("1,000 SetStats unchanged / 1,000 changing: %.4f (target: at most 0.05)\n",
                        unchanged->cpuSeconds / changing->cpuSeconds);
    });
}
