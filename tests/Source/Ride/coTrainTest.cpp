#include "Source/Ride/coRideTestSupport.h"

#include <tuple>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator reports every allocation to these hooks.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
#endif

namespace {

using coTrainTest = coRideCircuitTest;

// The speed after one step of dt from a speed, on the level test piece.
float SpeedAfter(float speed, float dt, int cars = 1) {
    coTrain train;
    coRideCircuitTest::SetupTrain(train, cars, 30.0f, speed, 1.0f);
    train.Step(dt);
    return train.GetSpeed();
}

// One step of a train on a level piece carrying an element; a tolerance of 0 asks for the exact speed.
struct coElementStep {
    i32 element;
    bool drag;
    int cars;
    float speed, dt, expected, tolerance;
};

const coElementStep kElementSteps[] = {
    // Drag takes 10 x 10 x 0.0011 x 0.03 towards 0 either way, and nothing when it is off.
    {coElementNone, true, 1, 10.0f, 0.03f, 10.0f - 0.0033f, 1e-6f},
    {coElementNone, true, 1, -10.0f, 0.03f, -10.0f + 0.0033f, 1e-6f},
    {coElementNone, false, 1, 10.0f, 0.03f, 10.0f, 0.0f},
    // The chain takes hold from -2 up to its speed of 8.
    {coElementChainLift, false, 1, -2.0f, 0.01f, 8.0f, 0.0f},
    {coElementChainLift, false, 1, -2.1f, 0.01f, -2.1f, 0.0f},
    {coElementChainLift, false, 1, 0.0f, 0.01f, 8.0f, 0.0f},
    {coElementChainLift, false, 1, 7.99f, 0.01f, 8.0f, 0.0f},
    {coElementChainLift, false, 1, 8.0f, 0.01f, 8.0f, 0.0f},
    {coElementChainLift, false, 1, 12.0f, 0.01f, 12.0f, 0.0f},
    // Brakes slow either direction towards 0; every braking car takes its share of the speed the brakes
    // met, not of what the car before left.
    {coElementBrakes, false, 1, 10.0f, 0.04f, 10.0f * (1.0f - 0.09f * 0.04f), 4e-6f},
    {coElementBrakes, false, 1, -10.0f, 0.04f, -10.0f * (1.0f - 0.09f * 0.04f), 4e-6f},
    {coElementBrakes, false, 4, 10.0f, 0.04f, 10.0f * (1.0f - 4.0f * 0.09f * 0.04f), 4e-6f},
    // The booster pushes forward unless the train rolls back at 2 or more.
    {coElementBooster, false, 1, -1.0f, 0.1f, -1.0f + 0.3f, 1e-6f},
    {coElementBooster, false, 1, -1.99f, 0.1f, -1.99f + 0.3f, 1e-6f},
    {coElementBooster, false, 1, -2.0f, 0.1f, -2.0f - 0.3f, 1e-6f},
    {coElementBooster, false, 1, -5.0f, 0.1f, -5.0f - 0.3f, 1e-6f},
    {coElementBooster, false, 4, 5.0f, 0.1f, 5.0f + 1.2f, 1e-6f},
    // The retarder sets exactly 18, whatever the direction, drag or not.
    {coElementRetarder, true, 1, -5.0f, 0.04f, 18.0f, 0.0f},
    {coElementRetarder, true, 1, 40.0f, 0.04f, 18.0f, 0.0f},
    {coElementRetarder, true, 1, 18.0f, 0.04f, 18.0f, 0.0f},
};
} // namespace

TEST_F(coTrainTest, DragAndEachElementOnALevelPiece) {
    // At rest nothing moves, drag or not, and the car feels world up.
    AddStraight(40.0f);
    coSetTrainDragOn(1);
    coTrain resting;
    SetupTrain(resting, 4, 25.0f, 0.0f);
    resting.Step(0.04f);
    EXPECT_EQ(std::tuple(resting.GetSpeed(), resting.GetDistance()), std::tuple(0.0f, 25.0f));
    ExpectVectorNear(resting.GetAcceleration(), maVector3d(0.0f, 1.0f, 0.0f), 1e-6f);

    for (const coElementStep& step : kElementSteps) {
        coCircuitClear();
        AddStraight(80.0f, step.element);
        coSetTrainDragOn(step.drag ? 1 : 0);
        EXPECT_NEAR(SpeedAfter(step.speed, step.dt, step.cars), step.expected, step.tolerance)
            << "element " << step.element << " cars " << step.cars << " from " << step.speed;
    }
}

TEST_F(coTrainTest, ElementsActInOrderChainThenBrakesThenBoosterThenRetarder) {
    // One car on each element: the chain sets 8, the brakes take from that, the booster adds.
    AddStraight(10.0f, coElementBooster);
    AddStraight(10.0f, coElementBrakes);
    AddStraight(10.0f, coElementChainLift);
    coTrain train;
    SetupTrain(train, 3, 25.0f, 0.0f, 10.0f); // cars at 25 (chain), 15 (brakes), 5 (booster)
    train.Step(0.1f);
    EXPECT_FLOAT_EQ(train.GetSpeed(), 8.0f - 0.09f * 8.0f * 0.1f + 3.0f * 0.1f);
}

TEST_F(coTrainTest, DistanceWrapsAndCarsBehindTheFirstPieceStandOnTheLast) {
    BuildR1(true);
    const float length = coCircuitTotalLength();
    coTrain train;
    SetupTrain(train, 2, length + 0.5f, 0.0f);
    train.Step(0.0f);
    EXPECT_FLOAT_EQ(train.GetDistance(), 0.5f);
    EXPECT_EQ(train.GetLeadPiece(), coCircuitFirstPiece());
    ExpectVectorNear(coCarPosition(train.GetCar(0)), maVector3d(0.0f, 2.0f, 0.5f), 1e-4f);
    // The second car stands 4 behind: 3.5 before the end of the last piece.
    const coTrainCar& second = train.GetCar(1);
    EXPECT_EQ(std::tuple(second.piece, second.element), std::tuple(coCircuitLastPiece(), coElementChainLift));
    EXPECT_FLOAT_EQ(second.pieceStart, length - coCircuitLastPiece()->GetLength());
    ExpectVectorNear(coCarPosition(second), coCircuitLastPiece()->PointAt(1.0f - 3.5f / 23.555f), 1e-3f);

    SetupTrain(train, 1, -0.5f, 0.0f);
    train.Step(0.0f);
    EXPECT_FLOAT_EQ(train.GetDistance(), length - 0.5f);
    EXPECT_EQ(train.GetLeadPiece(), coCircuitLastPiece());
    EXPECT_FLOAT_EQ(train.GetFraction(), (length - 0.5f) / length);
}

TEST_F(coTrainTest, WithNoTimeTheAccelerationIsWorldUpInTheCarsAxes) {
    coCoasterPieceStraight* piece = AddStraight(40.0f, coElementNone, 20.0f);
    piece->SetRoll(coDegrees(30.0f));
    piece->Build();
    coTrain train;
    SetupTrain(train, 1, 20.0f, 5.0f);
    train.Step(0.0f);
    const maMatrix4d& frame = train.GetCar(0).frame;
    // World up in car axes: the y components of the side, up and forward rows.
    ExpectVectorNear(train.GetAcceleration(), maVector3d(frame.m[1], frame.m[5], frame.m[9]), 1e-6f);
    EXPECT_NEAR(train.GetAcceleration().x, std::sin(coDegrees(30.0f)) * std::cos(coDegrees(20.0f)), 1e-5f);
    EXPECT_EQ(train.GetDistance(), 20.0f);
}

TEST_F(coTrainTest, CarsWalkFromTheirPieceAndLandWhereAFreshSearchPutsThem) {
    BuildR1(true);
    // Four cars forwards for more than a lap at a speed that skips over no piece, then backwards past the
    // start; and cars set ahead of the train by negative offsets (from a definition), where a far one
    // once sent the walk round for ever.
    const float spaced[] = {0.0f, 4.0f, 8.0f, 12.0f}, ahead[] = {0.0f, -10.0f, -1e9f};
    for (const auto& [count, offsets, steps] : {std::tuple{4, spaced, 2400}, {3, ahead, 1}}) {
        coTrain walked, fresh;
        walked.SetCars(count, offsets);
        fresh.SetCars(count, offsets);
        walked.Setup(10.0f, 0.0f);
        for (int i = 0; i < steps; ++i) {
            walked.Step(i < 1800 ? 0.04f : -0.04f);
            fresh.Setup(walked.GetDistance(), 0.0f);
            for (int c = 0; c < count; ++c) {
                const coTrainCar &a = walked.GetCar(c), &b = fresh.GetCar(c);
                ASSERT_EQ(a.element, b.element) << "step " << i << " car " << c;
                ASSERT_NEAR((coCarPosition(a) - coCarPosition(b)).Length(), 0.0f, 2e-3f) << "step " << i;
            }
        }
    }
}

TEST_F(coTrainTest, AOnePieceCircuitKeepsItsPiece) {
    AddStraight(20.0f, coElementChainLift);
    coTrain train;
    SetupTrain(train, 4, 25.0f, 0.0f);
    const float length = train.GetCircuitLength();
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(train.GetCar(c).piece, coCircuitFirstPiece());
    // The lead car at 25 wraps to 5; the last car at 13.
    EXPECT_NEAR(coCarPosition(train.GetCar(0)).z, 25.0f - length, 1e-4f);
    EXPECT_NEAR(coCarPosition(train.GetCar(3)).z, 13.0f, 1e-4f);
    for (int i = 0; i < 200; ++i) {
        train.Step(0.04f);
        EXPECT_EQ(train.GetLeadPiece(), coCircuitFirstPiece());
        EXPECT_GE(train.GetDistance(), 0.0f);
        EXPECT_LT(train.GetDistance(), length);
    }
    EXPECT_EQ(train.GetSpeed(), 8.0f);
}

TEST_F(coTrainTest, CircuitsWithoutLengthNeitherHangNorDivideByZero) {
    coTrain train;
    SetupTrain(train, 2, 25.0f, 3.0f);
    train.Step(0.04f);
    EXPECT_EQ(std::tuple(train.GetLeadPiece(), train.GetFraction()), std::tuple(nullptr, 0.0f));
    EXPECT_FLOAT_EQ(train.GetDistance(), 25.12f);

    // One piece of no length: nothing to stand on either.
    AddStraight(0.0f);
    SetupTrain(train, 2, 25.0f, 3.0f);
    train.Step(0.04f);
    EXPECT_EQ(train.GetLeadPiece(), nullptr);

    // A piece of no length between others is stood on at its start and passed.
    AddStraight(20.0f);
    AddStraight(0.0f);
    AddStraight(20.0f);
    SetupTrain(train, 1, 19.9f, 5.0f);
    EXPECT_TRUE(std::isfinite(train.GetCar(0).frame.m[13]));
    for (int i = 0; i < 10; ++i) {
        train.Step(0.01f);
        for (float m : train.GetCar(0).frame.m)
            ASSERT_TRUE(std::isfinite(m));
    }
    EXPECT_EQ(train.GetLeadPiece(), coCircuitPieceAt(3));
    EXPECT_NEAR(coCarPosition(train.GetCar(0)).z, 20.4f, 1e-4f);

    // A train without cars is left alone.
    train.SetCars(0, nullptr);
    train.Step(0.04f);
    EXPECT_EQ(train.GetLeadPiece(), nullptr);
}

TEST_F(coTrainTest, AStepAllocatesNothing) {
#if defined(__SANITIZE_ADDRESS__)
    BuildR1(true);
    coTrain train;
    SetupTrain(train, 4, 25.0f, 0.0f);
    static int allocations = 0;
    allocations = 0;
    __sanitizer_install_malloc_and_free_hooks([](const volatile void*, size_t) { ++allocations; },
                                              [](const volatile void*) {});
    for (int i = 0; i < 1000; ++i)
        train.Step(0.04f);
    __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);
    EXPECT_EQ(allocations, 0);
#else
    GTEST_SKIP() << "counted through the sanitizer's allocator";
#endif
}
