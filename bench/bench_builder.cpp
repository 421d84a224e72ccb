#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coModeEditor.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {
// The editor's sounds go nowhere: the bank is not what is measured.
struct SilentHost : coEditorHost {
    void PlaySound(int) override {}
};

// Straights and gentle Turns in turn, as the builder lays them.
void BuildCircuit(int count) {
    coCircuitClear();
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<coCoasterPiece> piece;
        if (i % 2 == 0) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(20.0f);
            straight->SetElement(1); // chain lift: the train runs the whole circuit
            piece = std::move(straight);
        } else {
            auto turn = std::make_unique<coCoasterPieceTurn>();
            turn->SetAngle(coDegrees(30.0f));
            piece = std::move(turn);
        }
        piece->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(piece), true);
    }
}

// The "Short Straightaway" command on a circuit of range(0) pieces, with the refresh that simulates
// the whole ride again; the piece is taken off outside the timing.
void BM_ShortStraightaway(benchmark::State& state) {
    SilentHost host;
    coSetEditorHost(&host);
    coModeEditor editor;
    BuildCircuit(static_cast<int>(state.range(0)));
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
