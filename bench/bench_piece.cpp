// The cost of one frame and one point on each piece class: the unit a train step and the track extrusion
// are measured in.
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceCustom.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A custom piece takes the points of a climbing bend; the other classes keep their defaults.
template <class Piece> void Shape(Piece&) {}
void Shape(coCoasterPieceCustom& piece) {
    const bool accepted = piece.SetPoints({coCustomPoint{maVector3d(0, 0, 0), 0.0f, 0.0f, 1.0f, 0.0f},
                                           coCustomPoint{maVector3d(5, 3, 15), 0.3f, 0.6f, 1.0f, 0.4f},
                                           coCustomPoint{maVector3d(20, 4, 22), 0.0f, 1.4f, 0.8f, 0.1f}});
    if (!accepted)
        std::abort();
}

// The piece between two neighbours of other slope and roll, so that its ends blend; fractions walk
// the whole piece as a train does.
template <class Piece> struct Chain {
    coCoasterPieceStraight before, after;
    Piece piece;

    Chain() {
        Shape(piece);
        before.SetSlope(0.3f);
        before.SetRoll(0.5f);
        piece.SetRoll(-0.2f);
        after.SetSlope(-0.2f);
        before.SetNext(&piece);
        piece.SetPrevious(&before);
        piece.SetNext(&after);
        after.SetPrevious(&piece);
        before.Place(maVector3d(0.0f, 10.0f, 0.0f), 0.0f);
        piece.Connect(&before);
        after.Connect(&piece);
    }
};

constexpr int kFractions = 1000;

template <class Piece> void BM_FrameAt(benchmark::State& state) {
    Chain<Piece> chain;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(chain.piece.FrameAt(static_cast<float>(i) / kFractions));
        i = i == kFractions ? 0 : i + 1;
    }
}

template <class Piece> void BM_PointAt(benchmark::State& state) {
    Chain<Piece> chain;
    maVector3d tangent;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(chain.piece.PointAt(static_cast<float>(i) / kFractions, &tangent));
        benchmark::DoNotOptimize(tangent);
        i = i == kFractions ? 0 : i + 1;
    }
}

} // namespace

BENCHMARK(BM_FrameAt<coCoasterPieceStraight>);
BENCHMARK(BM_FrameAt<coCoasterPieceTurn>);
BENCHMARK(BM_FrameAt<coCoasterPieceShallowTurn>);
BENCHMARK(BM_FrameAt<coCoasterPieceSTurn>);
BENCHMARK(BM_FrameAt<coCoasterPieceUp>);
BENCHMARK(BM_FrameAt<coCoasterPieceLoop>);
BENCHMARK(BM_FrameAt<coCoasterPieceHalfLoop>);
BENCHMARK(BM_FrameAt<coCoasterPieceCorkscrew>);
BENCHMARK(BM_FrameAt<coCoasterPieceHalfCorkscrew>);
BENCHMARK(BM_FrameAt<coCoasterPieceCustom>);
BENCHMARK(BM_PointAt<coCoasterPieceStraight>);
BENCHMARK(BM_PointAt<coCoasterPieceTurn>);
BENCHMARK(BM_PointAt<coCoasterPieceShallowTurn>);
BENCHMARK(BM_PointAt<coCoasterPieceSTurn>);
BENCHMARK(BM_PointAt<coCoasterPieceUp>);
BENCHMARK(BM_PointAt<coCoasterPieceLoop>);
BENCHMARK(BM_PointAt<coCoasterPieceHalfLoop>);
BENCHMARK(BM_PointAt<coCoasterPieceCorkscrew>);
BENCHMARK(BM_PointAt<coCoasterPieceHalfCorkscrew>);
BENCHMARK(BM_PointAt<coCoasterPieceCustom>);

BENCHMARK_MAIN();
