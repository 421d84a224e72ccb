#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
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

// Prints the runs as usual and keeps each one's time per append for the ratio.
class coRatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.iterations > 0)
                nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
};
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    coRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto small = reporter.nanoseconds.find("BM_AppendPiece/10");
    const auto large = reporter.nanoseconds.find("BM_AppendPiece/200");
    if (small != reporter.nanoseconds.end() && large != reporter.nanoseconds.end() && small->second > 0.0)
        std::printf("append to a circuit of 10: %.0f ns, of 200: %.0f ns, ratio 200/10: %.2f\n",
                    small->second, large->second, large->second / small->second);
    benchmark::Shutdown();
    return 0;
}
