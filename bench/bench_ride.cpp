// The statistics run over a closed circuit of 200 pieces: its time as a share of one frame at 60 frames a
// second, simulated steps per second, and the cost of one step per car against one frame evaluation of the
// same pieces (a step should cost about one).
#include "Source/Ride/coRideStats.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr int kSides = 4;
constexpr int kStraightsPerSide = 49;
constexpr double kFrameSeconds = 1.0 / 60.0;

void Append(std::unique_ptr<coCoasterPiece> piece) {
    if (!coCircuitLastPiece())
        piece->Connect(nullptr);
    coCircuitAppend(std::move(piece), false);
}

// A rectangle of chained pieces: per side 49 Straights of 20, banked by turns so that the roll blends,
// and one quarter Turn. The chain keeps the train at 8 units per second all round.
void BuildCircuit() {
    if (coCircuitPieceCount() > 0)
        return;
    for (int side = 0; side < kSides; ++side) {
        for (int i = 0; i < kStraightsPerSide; ++i) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(20.0f);
            straight->SetElement(coElementChainLift);
            straight->SetRoll(coDegrees(static_cast<float>((i % 3) - 1) * 10.0f));
            Append(std::move(straight));
        }
        auto turn = std::make_unique<coCoasterPieceTurn>();
        turn->SetAngle(coDegrees(90.0f));
        turn->SetRadius(15.0f);
        turn->SetElement(coElementChainLift);
        Append(std::move(turn));
    }
    coCircuitClose();
}

int StepsPerRun() {
    return static_cast<int>(std::lround(coGetRideStats()[coStatRideTime] / 0.04f));
}

void BM_RideStats200(benchmark::State& state) {
    BuildCircuit();
    int steps = 0;
    for (auto _ : state) {
        coRideComputeStats();
        steps = StepsPerRun();
    }
    state.counters["pieces"] = static_cast<double>(coCircuitPieceCount());
    state.counters["steps"] = steps;
    state.counters["steps/s"] = benchmark::Counter(
        static_cast<double>(steps) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Every piece of the circuit in turn, at fractions that walk each piece as a train does.
void BM_FrameAt200(benchmark::State& state) {
    BuildCircuit();
    const int count = coCircuitPieceCount();
    int piece = 0, fraction = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(coCircuitPieceAt(piece)->FrameAt(static_cast<float>(fraction) / 61.0f));
        piece = piece + 1 == count ? 0 : piece + 1;
        fraction = fraction == 61 ? 0 : fraction + 1;
    }
}

BENCHMARK(BM_RideStats200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameAt200)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* run = report.Find("BM_RideStats200");
    const benchReport::Figures* frame = report.Find("BM_FrameAt200");
    if (run) {
        std::printf("\nStatistics run of %d pieces: %.2f ms, %.2f of one %.1f ms frame\n",
                    coCircuitPieceCount(), run->seconds * 1e3, run->seconds / kFrameSeconds,
                    kFrameSeconds * 1e3);
    }
    const double steps = run ? run->counters.at("steps") : 0.0;
    if (frame && steps > 0.0) {
        const double perStep = run->seconds / steps;
        const double perCar = perStep / coGetCoasterDefinition().GetNumCars();
        std::printf("%.0f steps, %.0f simulated steps per second\n", steps, 1.0 / perStep);
        std::printf("One step per car %.1f ns, one FrameAt %.1f ns: ratio %.2f (must stay below 2)\n",
                    perCar * 1e9, frame->seconds * 1e9, perCar / frame->seconds);
    }
    benchmark::Shutdown();
    return 0;
}
