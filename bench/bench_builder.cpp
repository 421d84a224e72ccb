#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coModeEditor.h"
#include "Source/Ride/coRideStats.h"
#include "benchCircuit.h"
#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {
// The editor's sounds go nowhere: the bank is not what is measured.
struct SilentHost : coEditorHost {
    void PlaySound(int) override {}
};

// The "Short Straightaway" command on a circuit of range(0) pieces, with the refresh that simulates
// the whole ride again; the piece is taken off outside the timing.
void BM_ShortStraightaway(benchmark::State& state) {
    SilentHost host;
    coSetEditorHost(&host);
    coModeEditor editor;
    benchBuildStraightsAndTurns(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        editor.RunPaletteCommand("Short Straightaway");
        state.PauseTiming();
        coCircuitRemoveLast();
        state.ResumeTiming();
    }
    state.counters["ride_seconds"] = coGetRideStats()[coStatRideTime];
    coCircuitClear();
    coSetEditorHost(nullptr);
}
BENCHMARK(BM_ShortStraightaway)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    if (const benchReport::Figures* figures = report.Find("BM_ShortStraightaway/200"))
        std::printf(
            "Short Straightaway with its refresh on 200 pieces (a ride of %.1f s simulated): %.2f ms, "
            "%.3f of a 16.7 ms frame (target <= 0.5)\n",
            figures->counters.at("ride_seconds"), figures->seconds * 1e3, figures->seconds / 0.0167);
    benchmark::Shutdown();
    return 0;
}
