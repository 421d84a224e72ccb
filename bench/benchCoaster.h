#pragma once
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include <memory>

// A closed coaster of 100 pieces for the benchmarks that ride or draw a whole circuit: a square whose
// four sides are 24 chained Straights of 6, rolled a little from side to side, and a quarter Turn of
// radius 15 to the left, so that from the park's start it stays inside the park and away from its hill.
// The chain carries the train round at an even speed. Nothing is built on a circuit that has pieces
// already.
inline void benchBuildClosedCoaster() {
    if (coCircuitPieceCount() > 0)
        return;
    const auto append = [](std::unique_ptr<coCoasterPiece> piece) {
        if (!coCircuitLastPiece())
            piece->Place(maVector3d(0.0f, 4.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(piece), false);
    };
    for (int side = 0; side < 4; ++side) {
        for (int i = 0; i < 24; ++i) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(6.0f);
            straight->SetElement(coElementChainLift);
            straight->SetRoll(coDegrees(static_cast<float>((i % 3) - 1) * 10.0f));
            append(std::move(straight));
        }
        auto turn = std::make_unique<coCoasterPieceTurn>();
        turn->SetAngle(coDegrees(-90.0f));
        turn->SetRadius(15.0f);
        turn->SetElement(coElementChainLift);
        append(std::move(turn));
    }
    coCircuitClose();
}
