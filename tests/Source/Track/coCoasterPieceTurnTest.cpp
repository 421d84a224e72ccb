#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coPieceLimits.h"

#include "Source/Track/coTrackTestSupport.h"

#include <tuple>

TEST(coCoasterPieceTurn, DefaultQuarterTurnsBothWays) {
    coCoasterPieceTurn turn;
    EXPECT_EQ(turn.GetAngle(), 1.5707964f);
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(15, 0, 15), 1e-5f);
    EXPECT_EQ(turn.GetEndHeading(), maHalfPiF);
    // 19 chords of the quarter circle, not its arc of 23.562.
    EXPECT_NEAR(turn.GetLength(), 23.555f, 5e-4f);
    ExpectVectorNear(turn.SideAt(1.0f), maVector3d(0, 0, -1), 1e-6f);

    turn.SetAngle(-coDegrees(90.0f));
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(-15, 0, 15), 1e-5f);
    EXPECT_NEAR(turn.GetEndHeading(), -maHalfPiF, 1e-6f);

    // The default angle is the one float pi/2: four default turns come round to exactly 2 pi.
    coCoasterPieceTurn quarters[4];
    quarters[0].Place(maVector3d(0, 0, 0), 0.0f);
    for (int i = 1; i < 4; ++i)
        quarters[i].Connect(&quarters[i - 1]);
    EXPECT_EQ(quarters[3].GetEndHeading(), maTwoPiF);
    ExpectVectorNear(quarters[3].GetEnd(), maVector3d(0, 0, 0), 1e-5f);
}

TEST(coCoasterPieceTurn, NegativeAndZeroAnglesStepAsNegative) {
    coCoasterPieceTurn turn;
    turn.SetAngle(-coDegrees(90.0f));
    turn.AdjustParamA(1.0f);
    EXPECT_NEAR(turn.GetAngle(), -coDegrees(95.0f), 1e-6f);
    turn.AdjustParamA(100.0f);
    EXPECT_EQ(turn.GetAngle(), -GetTurnAngleMax());
    // An angle of 0 (only from files) steps as a negative one.
    turn.SetAngle(0.0f);
    turn.AdjustParamA(1.0f);
    EXPECT_EQ(turn.GetAngle(), -GetTurnAngleMin());
    turn.SetAngle(0.0f);
    turn.SetParamANormalised(1.0f);
    EXPECT_EQ(turn.GetAngle(), -GetTurnAngleMax());

    // A turn of angle 0 has no chord: no handle, a drag changes nothing, and its frames stay finite.
    turn.SetAngle(0.0f);
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    maVector3d direction;
    float chord = 0.0f;
    EXPECT_FALSE(turn.GetDragHandle(direction, chord));
    turn.Drag(5.0f);
    EXPECT_EQ(std::tuple(turn.GetRadius(), turn.GetLength()), std::tuple(15.0f, 0.0f));
    ExpectFiniteFrames(turn);
}

TEST(coCoasterPieceShallowTurn, ArcEndAndSignedAngleSteps) {
    coCoasterPieceShallowTurn turn;
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    const float a = coDegrees(15.0f), r = 20.0f / a;
    ExpectVectorNear(turn.GetEnd(), maVector3d(r * (1.0f - std::cos(a)), 0, r * std::sin(a)), 1e-4f);
    EXPECT_NEAR(turn.GetLength(), 20.0f, 1e-3f);

    // A negative angle grows its magnitude and keeps its sign.
    turn.SetAngle(-coDegrees(3.0f));
    turn.AdjustParamB(1.0f);
    EXPECT_NEAR(turn.GetAngle(), -coDegrees(5.0f), 1e-6f);
    turn.SetParamBNormalised(1.0f);
    EXPECT_EQ(turn.GetAngle(), -GetShallowTurnAngleMax());
}

TEST(coCoasterPieceShallowTurn, ZeroAngleIsAStraightPieceNotInfinity) {
    coCoasterPieceShallowTurn turn;
    turn.SetAngle(0.0f);
    turn.SetSlope(0.1f);
    turn.Place(maVector3d(0, 0, 0), maHalfPiF);
    ExpectVectorNear(turn.GetEnd(), maVector3d(20, 20.0f * std::tan(0.1f), 0), 1e-5f);
    EXPECT_NEAR(turn.GetLength(), 20.0f / std::cos(0.1f), 1e-4f);
    ExpectFiniteFrames(turn);
    maVector3d direction;
    float chord = 0.0f;
    ASSERT_TRUE(turn.GetDragHandle(direction, chord));
    turn.Drag(-chord / 2.0f);
    EXPECT_NEAR(turn.GetRunLength(), 10.0f, 1e-5f);

    // Zero length as well: a point, no NaN.
    turn.SetRunLength(0.0f);
    turn.Build();
    EXPECT_EQ(turn.GetLength(), 0.0f);
    ExpectVectorNear(turn.PointAt(0.7f), maVector3d(0, 0, 0), 0.0f);
    ExpectFiniteFrames(turn);
}
