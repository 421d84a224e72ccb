#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceCustom.h"

#include <benchmark/benchmark.h>

// FrameAt per call of the Corkscrew, HalfCorkscrew and Custom pieces: the unit the train's step and the
// track extrusion are measured in. Each call takes the next of 64 fractions along a lone default piece.
namespace {
constexpr int kFractions = 64;

void RunFrames(benchmark::State& state, const coCoasterPiece& piece) {
    int i = 0;
    for (auto _ : state) {
        const maMatrix4d frame = piece.FrameAt(static_cast<float>(i) / (kFractions - 1));
        benchmark::DoNotOptimize(frame);
        i = (i + 1) % kFractions;
    }
    state.SetItemsProcessed(state.iterations());
}
} // namespace

static void BM_FrameAtCorkscrew(benchmark::State& state) {
    coCoasterPieceCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    RunFrames(state, piece);
}
BENCHMARK(BM_FrameAtCorkscrew);

static void BM_FrameAtHalfCorkscrew(benchmark::State& state) {
    coCoasterPieceHalfCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    RunFrames(state, piece);
}
BENCHMARK(BM_FrameAtHalfCorkscrew);

static void BM_FrameAtCustom(benchmark::State& state) {
    coCoasterPieceCustom piece;
    const bool accepted = piece.SetPoints({coCustomPoint{maVector3d(0, 0, 0), 0.0f, 0.0f, 1.0f, 0.0f},
                                           coCustomPoint{maVector3d(5, 3, 15), 0.3f, 0.6f, 1.0f, 0.4f},
                                           coCustomPoint{maVector3d(20, 4, 22), 0.0f, 1.4f, 0.8f, 0.1f}});
    if (!accepted) {
        state.SkipWithError("points refused");
        return;
    }
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    RunFrames(state, piece);
}
BENCHMARK(BM_FrameAtCustom);

BENCHMARK_MAIN();
