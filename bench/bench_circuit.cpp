#include "benchCircuit.h"
#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {
// Appending one matched Straight to a circuit of range(0) pieces; the piece is taken off again
// outside the timing, so every append sees the same circuit. Appending places only the new piece:
// the time must not grow with the circuit.
void BM_AppendPiece(benchmark::State& state) {
    benchBuildStraightsAndTurns(static_cast<int>(state.range(0)));
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
