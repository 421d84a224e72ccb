#pragma once
#include "Source/Ride/coTrain.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coTrackTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

// A definition whose train values a test sets; installed for its lifetime.
class coRideTestDefinition : public coCoasterDefinition {
  public:
    coRideTestDefinition() { coSetCoasterDefinition(this); }
    ~coRideTestDefinition() override { coSetCoasterDefinition(nullptr); }
    int GetNumCars() const override { return numCars; }
    float GetCarSeparation() const override { return carSeparation; }
    float GetInitialPosition() const override { return initialPosition; }
    float GetRailHeight() const override { return railHeight; }

    int numCars = 4;
    float carSeparation = 4.0f;
    float initialPosition = 25.0f;
    float railHeight = 1.0f;
};

// Every ride test starts from an empty circuit with drag off (the physics checks state when it is on)
// and leaves the program-wide state as it found it.
class coRideCircuitTest : public ::testing::Test {
  public:
    void SetUp() override {
        coCircuitClear();
        coSetTrainDragOn(0);
    }
    void TearDown() override {
        coCircuitClear();
        coSetTrainDragOn(1);
    }

    // Appends without the placement rules, so each piece keeps the slope and roll given here; the first
    // piece starts at (0, 2, 0) heading 0.
    static coCoasterPieceStraight* AddStraight(float run, i32 element = coElementNone,
                                               float slopeDegrees = 0.0f) {
        return coAppendPiece<coCoasterPieceStraight>(
            [&](coCoasterPieceStraight& p) {
                p.SetRunLength(run);
                p.SetElement(element);
                p.SetSlope(coDegrees(slopeDegrees));
                p.Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
            },
            false);
    }
    static coCoasterPieceTurn* AddTurn(float angleDegrees, float radius, i32 element = coElementNone) {
        return coAppendTurn(coDegrees(angleDegrees), radius, element, false);
    }
    // R1: four times a chained Straight of 20 and a chained quarter Turn of radius 15, a square.
    static void BuildR1(bool close) {
        coBuildR1();
        if (close)
            coCircuitClose();
        ASSERT_EQ(coCircuitIsClosed(), close);
    }

    // A train of count cars spaced by separation, set up at distance with speed.
    static void SetupTrain(coTrain& train, int count, float distance, float speed, float separation = 4.0f) {
        const std::vector<float> offsets = coEvenCarOffsets(count, separation);
        train.SetCars(count, offsets.data());
        train.Setup(distance, speed);
    }
};

inline maVector3d coCarPosition(const coTrainCar& car) {
    return maVector3d(car.frame.m[12], car.frame.m[13], car.frame.m[14]);
}
