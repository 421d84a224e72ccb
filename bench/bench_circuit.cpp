#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {
// A circuit of `count` pieces, Straights and Turns in turn, as the builder lays them.
void BuildCircuit(int count) {
    coCircuitClear();
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<coCoasterPiece> piece;
        if (i % 2 == 0) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(20.0f);
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

// Appending one matched Straight to a circuit of range(0) pieces; the piece is taken off again
// outside the timing, so every append sees the same circuit. Appending places only the new piece:
// the time must not grow with the circuit.
void BM_AppendPiece(benchmark::State& state) {
    BuildCircuit(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto piece = std::make_unique<coCoasterPieceStraight>();
        piece->SetRunLength(15.0f);
        coCircuitAppend(std::move(piece), true);
        state.PauseTiming();
        coCircuitRemoveLast();
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(coCircuitLastPiece());
    coCircuitClear();
}
BENCHMARK(BM_AppendPiece)->Arg(10)->Arg(200);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* small = report.Find("BM_AppendPiece/10");
    const benchReport::Figures* large = report.Find("BM_AppendPiece/200");
    if (small && large && small->seconds > 0.0)
        std::printf("append to a circuit of 10: %.0f ns, of 200: %.0f ns, ratio 200/10: %.2f\n",
                    small->seconds * 1e9, large->seconds * 1e9, large->seconds / small->seconds);
    benchmark::Shutdown();
    return 0;
}
