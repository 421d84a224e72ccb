#include "rdemoR1.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include <memory>

void DemoLayR1() {
    for (int i = 0; i < 4; ++i) {
        auto straight = std::make_unique<coCoasterPieceStraight>();
        straight->SetRunLength(20.0f);
        straight->SetElement(coElementChainLift);
        straight->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(straight), true);
        auto turn = std::make_unique<coCoasterPieceTurn>();
        turn->SetAngle(coDegrees(90.0f));
        turn->SetRadius(15.0f);
        turn->SetElement(coElementChainLift);
        turn->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(turn), true);
    }
    coCircuitClose();
}
