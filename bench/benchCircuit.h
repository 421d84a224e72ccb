#pragma once
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include <memory>

// A circuit of `count` pieces, chained Straights and gentle Turns in turn, as the builder lays them: an
// open run that the train covers whole.
inline void benchBuildStraightsAndTurns(int count) {
    coCircuitClear();
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<coCoasterPiece> piece;
        if (i % 2 == 0) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(20.0f);
            straight->SetElement(coElementChainLift);
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
