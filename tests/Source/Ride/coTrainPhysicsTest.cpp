#include "Source/Ride/coRideTestSupport.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"

#include <algorithm>
#include <random>

// Checks from first principles: one car and drag off unless stated.

namespace {

using coTrainPhysicsTest = coRideCircuitTest;

constexpr float kG = 9.81f;

} // namespace

TEST_F(coTrainPhysicsTest, DownASlopeOfThirtyDegreesFromRest) {
    AddStraight(40.0f, coElementNone, -30.0f);
    coTrain train;
    SetupTrain(train, 1, 2.0f, 0.0f);
    for (int i = 0; i < 25; ++i)
        train.Step(0.04f);
    // g sin 30 for one second; the track carries cos 30 of the weight and the car feels no pull along it.
    EXPECT_NEAR(train.GetSpeed(), 4.905f, 1e-4f);
    EXPECT_NEAR(train.GetAcceleration().y, 0.8660254f, 1e-4f);
    EXPECT_NEAR(train.GetAcceleration().z, 0.0f, 1e-4f);
}

TEST_F(coTrainPhysicsTest, AfterADropTheSpeedApproachesTheFreeFallSpeedFromBelow) {
    AddStraight(40.0f, coElementNone, -30.0f);
    const float h = 10.0f;
    const float analytic = std::sqrt(2.0f * kG * h); // 14.007
    const float expected[] = {13.909f, 13.983f, 14.001f};
    const float steps[] = {0.04f, 0.01f, 0.0025f};
    float lastError = 1.0f;
    for (int k = 0; k < 3; ++k) {
        const float dt = steps[k];
        coTrain train;
        SetupTrain(train, 1, 0.0f, 0.0f);
        const float top = coCarPosition(train.GetCar(0)).y;
        float drop = 0.0f, speed = 0.0f;
        while (drop < h) {
            const float previousDrop = drop, previousSpeed = speed;
            train.Step(dt);
            drop = top - coCarPosition(train.GetCar(0)).y;
            speed = train.GetSpeed();
            if (drop >= h) // the speed where the drop is exactly h, between the two steps
                speed = previousSpeed + (speed - previousSpeed) * (h - previousDrop) / (drop - previousDrop);
        }
        EXPECT_NEAR(speed, expected[k], 1e-3f) << "dt " << dt;
        // Low by about g sin(30) dt / 2: the step takes the speed of its end for the whole step.
        EXPECT_NEAR(analytic - speed, kG * 0.5f * dt / 2.0f, 1e-3f) << "dt " << dt;
        EXPECT_LT(analytic - speed, lastError);
        lastError = analytic - speed;
    }
}

TEST_F(coTrainPhysicsTest, ALevelTurnAfterARetarderPullsSidewaysByVSquaredOverR) {
    AddStraight(20.0f, coElementRetarder);
    coCoasterPieceTurn* turn = AddTurn(90.0f, 15.0f);
    coTrain train;
    SetupTrain(train, 1, 5.0f, 0.0f);
    int measured = 0;
    for (int i = 0; i < 60; ++i) {
        train.Step(0.04f);
        const float into = train.GetDistance() - 20.0f;
        if (train.GetLeadPiece() != turn || into < 0.2f * turn->GetLength() ||
            into > 0.8f * turn->GetLength())
            continue;
        ++measured;
        EXPECT_EQ(train.GetSpeed(), 18.0f);
        EXPECT_NEAR(std::fabs(train.GetAcceleration().x), 18.0f * 18.0f / (kG * 15.0f), 0.005f); // 2.20
        EXPECT_NEAR(train.GetAcceleration().y, 1.0f, 1e-3f);
        // The step measures the change between the forward axes at its two ends, which lie an angle
        // v dt / r apart: v (1 - cos) / (g dt) of it falls along the newer one.
        const float turned = 18.0f * 0.04f / 15.0f;
        EXPECT_NEAR(train.GetAcceleration().z, 18.0f * (1.0f - std::cos(turned)) / (kG * 0.04f), 1e-3f);
    }
    EXPECT_GT(measured, 10);
}

TEST_F(coTrainPhysicsTest, FourCarsOnALevelBrakeSlowGeometrically) {
    AddStraight(80.0f, coElementBrakes);
    coTrain train;
    SetupTrain(train, 4, 40.0f, 18.0f);
    for (int i = 0; i < 50; ++i)
        train.Step(0.04f);
    // Each step keeps 1 - 4 x 0.09 x 0.04 = 0.9856 of the speed.
    EXPECT_NEAR(train.GetSpeed(), 8.716f, 1e-3f);
}

TEST_F(coTrainPhysicsTest, ABoosterUnderAllFourCarsAddsTwelvePerSecond) {
    AddStraight(80.0f, coElementBooster);
    coTrain train;
    SetupTrain(train, 4, 20.0f, 0.0f);
    for (int i = 1; i <= 25; ++i) {
        train.Step(0.04f);
        ASSERT_NEAR(train.GetSpeed(), 12.0f * 0.04f * static_cast<float>(i), 1e-4f);
    }
}

TEST_F(coTrainPhysicsTest, DragAloneFollowsTheQuadraticLaw) {
    AddStraight(40.0f);
    coSetTrainDragOn(1);
    coTrain train;
    SetupTrain(train, 1, 5.0f, 18.0f);
    for (int i = 0; i < 250; ++i)
        train.Step(0.04f);
    EXPECT_NEAR(train.GetSpeed(), 15.023f, 1e-3f);
    // The continuous solution v0 / (1 + k v0 t).
    EXPECT_NEAR(train.GetSpeed(), 18.0f / (1.0f + 0.0011f * 18.0f * 10.0f), 3e-3f);
}

// Under all four cars a booster adds 12 and drag takes k v^2 a second, so d(v^2)/dx = 2 (12 - k v^2): the
// square of the speed closes on 12 / k as 1 - e^(-2 k x). Without drag 30 m from 8 would give 28.
TEST_F(coTrainPhysicsTest, ABoosterRunWithDragClosesOnItsTerminalSpeed) {
    AddStraight(80.0f, coElementBooster);
    coSetTrainDragOn(1);
    coTrain train;
    SetupTrain(train, 4, 20.0f, 8.0f);
    const float run = 30.0f, k = 0.0011f, terminal = 12.0f / k;
    float speed = 8.0f;
    while (train.GetDistance() < 20.0f + run) {
        const float previousDistance = train.GetDistance(), previousSpeed = train.GetSpeed();
        train.Step(0.01f);
        speed = previousSpeed + (train.GetSpeed() - previousSpeed) * (20.0f + run - previousDistance) /
                                    (train.GetDistance() - previousDistance);
    }
    EXPECT_NEAR(speed, std::sqrt(terminal - (terminal - 64.0f) * std::exp(-2.0f * k * run)), 0.05f); // 27.51
}

namespace {

// The mean over the cars of one element of their frames: 13 is the height, 9 the slope's sine.
float Mean(const coTrain& train, int element) {
    float sum = 0.0f;
    for (int c = 0; c < train.GetCarCount(); ++c)
        sum += train.GetCar(c).frame.m[element];
    return sum / static_cast<float>(train.GetCarCount());
}

// Runs four cars (or `cars`) from the start position (or `distance`) over `travel` units of track and
// compares the largest rise of the energy per unit mass, v^2 / 2 + g y (y the cars' mean height), with what
// the step may add. The step takes gravity from the slope s at its start, so over a step the energy can grow
// by about g v dt |ds| / 2; summed that is O(dt). Beside it the arc-length table maps distance linearly along
// 19 chords while the slope is the curve's own, which gives or takes a small share of every height
// change, whatever the step (about 0.1 % on loops and corkscrews; 0.2 % allowed).
void ExpectEnergyBounded(float speed, float travel, float dt, int cars = 4, float distance = 25.0f) {
    coTrain train;
    coRideCircuitTest::SetupTrain(train, cars, distance, speed);
    const auto energy = [&] { return 0.5f * train.GetSpeed() * train.GetSpeed() + kG * Mean(train, 13); };
    const float start = energy();
    float rise = 0.0f, stepBound = 0.0f, climbed = 0.0f, travelled = 0.0f;
    while (travelled < travel) {
        const float slope = Mean(train, 9), height = Mean(train, 13);
        train.Step(dt);
        ASSERT_GT(train.GetSpeed(), 0.0f) << "the train must make it round";
        travelled += train.GetSpeed() * dt;
        stepBound += 0.5f * kG * dt * train.GetSpeed() * std::fabs(Mean(train, 9) - slope);
        climbed += std::fabs(Mean(train, 13) - height);
        rise = std::max(rise, energy() - start);
    }
    EXPECT_LE(rise, stepBound + 0.002f * kG * climbed + 1e-5f * start) << "dt " << dt;
}

// Every element taken off, so that only gravity acts.
void Unpower() {
    for (int i = 0; i < coCircuitPieceCount(); ++i)
        coCircuitPieceAt(i)->SetElement(coElementNone);
}

} // namespace

TEST_F(coTrainPhysicsTest, OnUnpoweredTrackTheEnergyNeverRisesBeyondTheStepsBound) {
    const float steps[] = {0.04f, 0.01f, 0.001f};
    // The reference square and the figure of eight, closed: a whole lap each.
    BuildR1(true);
    Unpower();
    for (float dt : steps)
        ExpectEnergyBounded(10.0f, coCircuitTotalLength(), dt);
    coCircuitClear();
    coBuildFigureEight();
    coCircuitClose();
    ASSERT_TRUE(coCircuitIsClosed());
    for (float dt : steps)
        ExpectEnergyBounded(12.0f, coCircuitTotalLength(), dt);

    // A hill climb with a loop and a corkscrew, open: from the start position to just short of the end.
    coCircuitClear();
    AddStraight(30.0f);
    AddStraight(20.0f, coElementNone, 25.0f);
    AddStraight(20.0f);
    AddStraight(20.0f, coElementNone, -25.0f);
    AddStraight(20.0f);
    coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop&) {}, false);
    AddStraight(20.0f);
    coAppendPiece<coCoasterPieceCorkscrew>([](coCoasterPieceCorkscrew&) {}, false);
    AddStraight(30.0f);
    for (float dt : steps)
        ExpectEnergyBounded(28.0f, coCircuitTotalLength() - 30.0f, dt);

    // An open run of climbing, banked and falling pieces.
    coCircuitClear();
    AddStraight(30.0f);
    AddStraight(20.0f, coElementNone, 15.0f);
    AddTurn(90.0f, 15.0f)->SetRoll(coDegrees(30.0f));
    AddStraight(20.0f, coElementNone, -30.0f);
    AddTurn(-120.0f, 10.0f);
    AddStraight(30.0f, coElementNone, 10.0f);
    coCircuitReflowFrom(coCircuitFirstPiece(), false);
    for (float dt : steps)
        ExpectEnergyBounded(15.0f, coCircuitTotalLength() - 30.0f, dt);
}

TEST_F(coTrainPhysicsTest, FilletsOfAnyShapeHandTheTrainNoEnergy) {
    const float steps[] = {0.04f, 0.01f, 0.001f};
    // Released from rest on a drop of 30 degrees, laid as the builder lays it: between level runs, and
    // onto a long level run (fillet widths 3.46 and 200).
    AddStraight(43.3f);
    AddStraight(17.32f, coElementNone, -30.0f);
    AddStraight(17.32f);
    for (float dt : steps)
        ExpectEnergyBounded(0.0f, 30.0f, dt, 1, coCircuitFirstPiece()->GetLength());
    coCircuitClear();
    AddStraight(17.32f, coElementNone, -30.0f);
    AddStraight(400.0f);
    for (float dt : steps)
        ExpectEnergyBounded(0.0f, 230.0f, dt, 1, 0.0f);

    // Random open runs of drops and climbs up to 75 degrees on runs from 2 to 120 (fillets up to 1:60),
    // loops, corkscrews and S-turns, entered fast enough to clear their highest point.
    std::mt19937 random(7);
    std::uniform_real_distribution<float> slope(-75.0f, 30.0f);
    const float runs[] = {2.0f, 5.0f, 20.0f, 60.0f, 120.0f};
    for (int circuit = 0; circuit < 6; ++circuit) {
        coCircuitClear();
        AddStraight(30.0f);
        for (int i = 0; i < 8; ++i) {
            if (const unsigned kind = random() % 5; kind == 0)
                coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop&) {}, false);
            else if (kind == 1)
                coAppendPiece<coCoasterPieceCorkscrew>([](coCoasterPieceCorkscrew&) {}, false);
            else if (kind == 2)
                coAppendPiece<coCoasterPieceSTurn>([](coCoasterPieceSTurn&) {}, false);
            else
                AddStraight(runs[random() % std::size(runs)], coElementNone, slope(random));
        }
        AddStraight(60.0f);
        float top = 2.0f;
        for (int i = 0; i < coCircuitPieceCount(); ++i)
            for (float s = 0.0f; s <= 1.0f; s += 0.0625f)
                top = std::max(top, coCircuitPieceAt(i)->PointAt(s).y);
        const float speed = std::sqrt(2.0f * kG * (top - 2.0f + 5.0f));
        SCOPED_TRACE(testing::Message() << "circuit " << circuit);
        for (float dt : {0.04f, 0.01f})
            ExpectEnergyBounded(speed, coCircuitTotalLength() - 90.0f, dt);
    }
}
