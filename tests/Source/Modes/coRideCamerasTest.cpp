#include "Source/Modes/coCameraManipFixed.h"
#include "Source/Modes/coCameraManipRide.h"
#include "Source/Modes/coCameraManipSpline.h"
#include "Source/Modes/coCameraManipTether.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Ride/coRide.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"

#include "Source/Modes/coEditorTestSupport.h"

#include <cmath>
#include <vector>

namespace {

void ExpectNear(const maVector3d& a, const maVector3d& b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

// A seat whose train the test scripts.
struct coScriptedSeat : coCameraManipRide {
    bool ReadTrain(coSeatTrain& out) const override {
        out = train;
        return true;
    }
    coSeatTrain train;
};

class coRideCameraTest : public coCircuitFixture {
  protected:
    coRideCameraTest() {
        coSetCoasterDefinition(&definition);
        coPrefs::SetDefaults();
        coPrefs::SetBool(coPrefCameraShake, true);
        maRandomSeed(7);
        appClock::SetTime(0.0f, 1.0f / 60.0f);
    }
    ~coRideCameraTest() override {
        coRideClear();
        coSetCoasterDefinition(nullptr);
    }
    // One frame of dt seconds.
    static void Step(scCameraManip& manip, float dt) {
        appClock::SetTime(0.0f, dt);
        manip.Update();
    }
    // A closed R1 with the ride's train launched and stepped to its lift.
    static void RideR1() {
        coBuildR1();
        coCircuitClose();
        coRideStart(4, false, 1);
        coRideLaunchTrain(0);
        appClock::SetTime(0.0f, 0.5f);
        coRideUpdate(maVector3d());
    }

    coCoasterDefinition definition;
    coScriptedEditorInput input;
    g3dCamera camera;
};

TEST_F(coRideCameraTest, SeatLookFollowsKeysAndMouseWithinItsBounds) {
    coScriptedSeat seat;
    seat.Attach(&camera, false);
    input.down.insert(coActionLeft);
    for (int frame = 0; frame < 178; ++frame)
        Step(seat, 0.025f);
    EXPECT_LT(seat.GetLookYaw(), coDegrees(179.0f) - 1e-4f);
    Step(seat, 0.025f); // 4.475 s
    EXPECT_NEAR(seat.GetLookYaw(), coDegrees(179.0f), 1e-4f);
    for (int frame = 0; frame < 220; ++frame)
        Step(seat, 0.025f);
    EXPECT_FLOAT_EQ(seat.GetLookYaw(), coDegrees(179.0f));

    input.Clear();
    input.down.insert(coActionMouseLeft); // a fresh click recentres
    Step(seat, 0.025f);
    EXPECT_EQ(seat.GetLookYaw(), 0.0f);
    input.Clear();
    input.motionX = -800; // the whole width, leftwards
    Step(seat, 0.025f);
    EXPECT_NEAR(seat.GetLookYaw(), 1.8f, 1e-6f);
    input.Clear();
    input.motionY = 6000;
    Step(seat, 0.025f);
    EXPECT_FLOAT_EQ(seat.GetLookPitch(), coDegrees(-30.0f));
}

TEST_F(coRideCameraTest, ShakeGrowsFromFifteenToTwentyFiveAndMovesTheEyeOnly) {
    definition.SetCameraShake(2.0f);
    const struct {
        float speed;
        float amplitude;
    } cases[] = {{10.0f, 0.0f}, {15.0f, 0.0f}, {-20.0f, 0.025f * 2.0f}, {25.0f, 0.2f}, {40.0f, 0.2f}};
    for (const auto& c : cases) {
        coScriptedSeat seat;
        seat.train.speed = c.speed;
        seat.Attach(&camera, false);
        float sideways = 0.0f;
        float vertical = 0.0f;
        for (int frame = 0; frame < 2000; ++frame) {
            Step(seat, 1.0f / 60.0f);
            sideways = std::max(sideways, std::fabs(seat.GetShake().x));
            vertical = std::max(vertical, std::fabs(seat.GetShake().y));
            EXPECT_EQ(seat.GetShake().z, 0.0f);
        }
        EXPECT_LE(sideways, c.amplitude + 1e-6f) << c.speed;
        EXPECT_GE(sideways, c.amplitude * 0.95f) << c.speed;
        EXPECT_LE(vertical, c.amplitude * 0.5f + 1e-6f) << c.speed;
        // The aim point stays: eye - shake + view direction.
        ExpectNear(*camera.GetPosition() - seat.GetShake(), definition.GetEyePosition());
    }
    coPrefs::SetBool(coPrefCameraShake, false);
    coScriptedSeat seat;
    seat.train.speed = 40.0f;
    seat.Attach(&camera, false);
    Step(seat, 1.0f / 60.0f);
    ExpectNear(*camera.GetPosition(), definition.GetEyePosition(), 0.0f);
}

TEST_F(coRideCameraTest, SlideDecaysToATenthOfAPercentInASecondAndFreezesWithoutThePreference) {
    definition.SetCameraSlide(maVector4d(-1.0f, 1.0f, -1.0f, 1.0f));
    coScriptedSeat seat;
    seat.Attach(&camera, false);
    seat.train.acceleration = maVector3d(2.0f, 3.0f, 0.0f);
    for (int frame = 0; frame < 10; ++frame)
        Step(seat, 1.0f / 60.0f);
    const maVector2d slide = seat.GetSlide();
    ASSERT_GT(slide.x, 0.0f);
    ASSERT_LT(slide.y, 0.0f);

    coPrefs::SetBool(coPrefCameraShake, false);
    for (int frame = 0; frame < 60; ++frame)
        Step(seat, 1.0f / 60.0f);
    EXPECT_EQ(seat.GetSlide().x, slide.x);
    ExpectNear(*camera.GetPosition(), definition.GetEyePosition(), 0.0f);

    coPrefs::SetBool(coPrefCameraShake, true);
    seat.train.acceleration = maVector3d(0.0f, 1.0f, 0.0f);
    for (int frame = 0; frame < 60; ++frame)
        Step(seat, 1.0f / 60.0f);
    EXPECT_NEAR(seat.GetSlide().x / slide.x, 0.001f, 1e-5f);
    EXPECT_NEAR(seat.GetSlide().y / slide.y, 0.001f, 1e-5f);
}

TEST_F(coRideCameraTest, SplineCurvesGiveTheirKindsFigures) {
    using Spline = coCameraManipSpline;
    std::vector<Spline::Point> four = {{{0, 0, 0}}, {{1, 0, 0}}, {{2, 1, 0}}, {{3, 1, 0}}};
    Spline::ComputeParameters(four);
    std::vector<Spline::Point> three = {{{0, 0, 0}}, {{1, 0, 0}}, {{3, 0, 0}}};
    Spline::ComputeParameters(three);
    const struct {
        const std::vector<Spline::Point>* curve;
        i32 kind;
        float s;
        maVector3d expected;
    } cases[] = {
        {&four, Spline::CatmullRom, 0.5f, {1.5f, 0.5f, 0.0f}},
        {&four, Spline::CatmullRom, 0.0f, {1.0f, 0.0f, 0.0f}}, // only the inner points are passed
        {&four, Spline::CatmullRom, 1.0f, {2.0f, 1.0f, 0.0f}},
        {&four, Spline::BSpline, 0.0f, {1.0f, 1.0f / 6.0f, 0.0f}},
        {&four, Spline::Linear, 0.5f, {1.5f, 0.5f, 0.0f}},
        {&three, Spline::CatmullRom, 0.25f, {0.5f, 0.0f, 0.0f}}, // fewer than four: linear
        {&three, Spline::CatmullRom, Spline::EvenSpeed(three, 0.5f), {1.5f, 0.0f, 0.0f}},
        {&three, Spline::Linear, 2.0f, {3.0f, 0.0f, 0.0f}},
        {&three, Spline::Linear, -1.0f, {0.0f, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        maVector3d out;
        ASSERT_TRUE(Spline::Evaluate(*c.curve, c.kind, c.s, out));
        ExpectNear(out, c.expected);
    }
    EXPECT_FLOAT_EQ(Spline::EvenSpeed(three, 0.5f), 0.625f);
    EXPECT_FLOAT_EQ(three[1].parameter, 1.0f / 3.0f);
}

TEST_F(coRideCameraTest, SplineOfNoLengthOrDurationStaysFinite) {
    const maVector3d one[] = {{4.0f, 5.0f, 6.0f}};
    const maVector3d equal[] = {{1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}};
    for (int count : {1, 2}) {
        coCameraManipSpline spline;
        spline.SetPositions(count == 1 ? one : equal, count);
        spline.SetTargets(one, 1);
        spline.SetDuration(0.0f);
        spline.Attach(&camera, false);
        Step(spline, 1.0f / 60.0f);
        EXPECT_TRUE(spline.IsFinished());
        ExpectNear(spline.GetEye(), count == 1 ? one[0] : equal[0], 0.0f);
    }
    // Without points the camera stays where it was.
    coCameraManipSpline empty;
    camera.LookAt(maVector3d(7.0f, 8.0f, 9.0f), maVector3d(), maVector3d(0.0f, 1.0f, 0.0f));
    empty.Attach(&camera, false);
    Step(empty, 1.0f / 60.0f);
    ExpectNear(*camera.GetPosition(), maVector3d(7.0f, 8.0f, 9.0f));
}

TEST_F(coRideCameraTest, ThreeSecondFlightEndsInFrame180) {
    const maVector3d points[] = {{0, 0, 0}, {10, 0, 0}, {20, 5, 0}, {30, 5, 0}};
    coCameraManipSpline spline;
    spline.SetPositions(points, 4);
    spline.SetTargets(points, 4);
    spline.SetDuration(3.0f);
    spline.SetEvenSpeed(false);
    spline.Attach(&camera, false);
    spline.Restart();
    int frames = 0;
    while (!spline.IsFinished() && frames < 1000) {
        Step(spline, 1.0f / 60.0f);
        ++frames;
    }
    EXPECT_EQ(frames, 180);
}

TEST_F(coRideCameraTest, FixedPostsComeEverySixtyAndBeforeEveryLoopOrCorkscrew) {
    coBuildHillClimb();
    coCameraManipFixed fixed;
    fixed.BuildPosts();
    for (int i = 0; i < coCircuitPieceCount(); ++i) {
        const coCoasterPiece* piece = coCircuitPieceAt(i);
        const bool inversion = dynamic_cast<const coCoasterPieceLoop*>(piece) != nullptr ||
                               dynamic_cast<const coCoasterPieceCorkscrew*>(piece) != nullptr;
        if (inversion) {
            EXPECT_TRUE(fixed.HasPost(piece)) << i;
        }
    }
    EXPECT_TRUE(fixed.HasPost(coCircuitLastPiece()));

    // A straight line of 200: a post at its end, then one whenever the next would stand over 60 away.
    coCircuitClear();
    for (int i = 0; i < 20; ++i)
        coAppendStraight(10.0f);
    fixed.BuildPosts();
    int posts = 0;
    for (int i = 0; i < coCircuitPieceCount(); ++i) {
        posts += fixed.HasPost(coCircuitPieceAt(i)) ? 1 : 0;
        if (i > 0) {
            EXPECT_FALSE(fixed.HasPost(coCircuitPieceAt(i)) && fixed.HasPost(coCircuitPieceAt(i - 1))) << i;
        }
    }
    EXPECT_GE(posts, 3);
    EXPECT_LE(posts, 5);

    coCircuitClear();
    fixed.BuildPosts(); // nothing to build on an empty circuit
    EXPECT_FALSE(fixed.HasPost(nullptr));
}

TEST_F(coRideCameraTest, FixedCameraWatchesTheViewCarAndWaitsForTheTrain) {
    camera.LookAt(maVector3d(1.0f, 2.0f, 3.0f), maVector3d(), maVector3d(0.0f, 1.0f, 0.0f));
    coCameraManipFixed fixed;
    fixed.Attach(&camera, false);
    Step(fixed, 1.0f / 60.0f); // no train yet
    ExpectNear(*camera.GetPosition(), maVector3d(1.0f, 2.0f, 3.0f), 0.0f);

    RideR1();
    for (bool inverted : {false, true}) {
        definition.SetInverted(inverted);
        fixed.Attach(&camera, false);
        Step(fixed, 1.0f / 60.0f);
        const maMatrix4d car = coRideGetTrainViewCar(0).frame;
        ExpectNear(fixed.GetTarget(), car.TransformPoint(maVector3d(0.0f, inverted ? -2.0f : 1.0f, 0.0f)));
        ExpectNear(*camera.GetPosition(), fixed.GetPosition(), 0.0f);
    }
}

TEST_F(coRideCameraTest, TetherAttachesBehindAndClosesItsGapSmoothly) {
    RideR1();
    coCameraManipTether tether;
    tether.Attach(&camera, false);
    ExpectNear(tether.GetOffset(), maVector3d(-4.0f, 4.0f, -6.0f), 0.0f);
    const maMatrix4d lead = coRideGetLeadCar(0).frame;
    ExpectNear(tether.GetPosition(), lead.TransformPoint(maVector3d(-4.0f, 4.0f, -6.0f)));

    // The train stands on the first piece's successor: the swing is quartered.
    ASSERT_EQ(coRideGetTrainPiece(0), coCircuitFirstPiece()->GetNext());
    const maVector3d before = tether.GetPosition();
    Step(tether, 1.0f / 60.0f);
    const maVector3d desired = coRideGetTrainViewCar(0).frame.TransformPoint(maVector3d(-1.0f, 4.0f, -6.0f));
    const float closed = (tether.GetPosition() - before).Length() / (desired - before).Length();
    EXPECT_NEAR(closed, 0.10875f, 1e-4f);
    EXPECT_GE(tether.GetPosition().y, tether.GetTarget().y);
}

} // namespace
