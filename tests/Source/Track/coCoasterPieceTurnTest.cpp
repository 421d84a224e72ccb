#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coPieceLimits.h"

#include "coTrackTestSupport.h"

TEST(coCoasterPieceTurn, DefaultQuarterTurnsBothWays) {
    coCoasterPieceTurn turn;
    EXPECT_EQ(turn.GetAngle(), 1.5707964f);
    EXPECT_EQ(turn.GetRadius(), 15.0f);
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(15, 0, 15), 1e-5f);
    ExpectVectorNear(turn.PointAt(1.0f), maVector3d(15, 0, 15), 1e-4f);
    EXPECT_EQ(turn.GetEndHeading(), maHalfPiF);
    // 19 chords of the quarter circle, not its arc of 23.562.
    EXPECT_NEAR(turn.GetLength(), 23.555f, 5e-4f);
    EXPECT_NEAR(turn.GetSpan(), 15.0f * maHalfPiF, 1e-5f);
    ExpectVectorNear(turn.SideAt(0.0f), maVector3d(1, 0, 0), 1e-6f);
    ExpectVectorNear(turn.SideAt(1.0f), maVector3d(0, 0, -1), 1e-6f);
    maVector3d direction;
    turn.PointAt(0.5f, &direction);
    ExpectVectorNear(direction, coForward(maHalfPiF / 2.0f), 1e-5f);

    turn.SetAngle(-coDegrees(90.0f));
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(-15, 0, 15), 1e-5f);
    EXPECT_NEAR(turn.GetEndHeading(), -maHalfPiF, 1e-6f);
    ExpectVectorNear(turn.SideAt(1.0f), maVector3d(0, 0, 1), 1e-6f);

    // The default angle is the one float pi/2: four default turns come round to exactly 2 pi.
    coCoasterPieceTurn quarters[4];
    quarters[0].Place(maVector3d(0, 0, 0), 0.0f);
    for (int i = 1; i < 4; ++i)
        quarters[i].Connect(&quarters[i - 1]);
    EXPECT_EQ(quarters[3].GetEndHeading(), maTwoPiF);
    ExpectVectorNear(quarters[3].GetEnd(), maVector3d(0, 0, 0), 1e-5f);
}

TEST(coCoasterPieceTurn, AngleStepsGrowTheMagnitudeOnBothSides) {
    coCoasterPieceTurn turn;
    turn.SetAngle(-coDegrees(90.0f));
    turn.AdjustParamA(1.0f);
    EXPECT_NEAR(turn.GetAngle(), -coDegrees(95.0f), 1e-6f);
    turn.SetAngle(coDegrees(90.0f));
    turn.AdjustParamA(-2.0f);
    EXPECT_NEAR(turn.GetAngle(), coDegrees(80.0f), 1e-6f);
    turn.AdjustParamA(100.0f);
    EXPECT_EQ(turn.GetAngle(), GetTurnAngleMax());
    turn.AdjustParamA(1.0f);
    EXPECT_EQ(turn.GetAngle(), GetTurnAngleMax());
    turn.SetAngle(-GetTurnAngleMax());
    turn.AdjustParamA(1.0f);
    EXPECT_EQ(turn.GetAngle(), -GetTurnAngleMax());
    turn.AdjustParamA(-100.0f);
    EXPECT_EQ(turn.GetAngle(), -GetTurnAngleMin());
    // An angle of 0 (only from files) steps as a negative one.
    turn.SetAngle(0.0f);
    turn.AdjustParamA(1.0f);
    EXPECT_EQ(turn.GetAngle(), -GetTurnAngleMin());

    turn.SetAngle(0.0f);
    turn.SetParamANormalised(1.0f);
    EXPECT_EQ(turn.GetAngle(), -GetTurnAngleMax());
    turn.SetParamANormalised(0.5f);
    EXPECT_NEAR(turn.GetParamANormalised(), 0.5f, 1e-6f);
    turn.SetAngle(1.0f);
    turn.SetParamANormalised(7.0f); // clamped
    EXPECT_EQ(turn.GetAngle(), GetTurnAngleMax());

    turn.AdjustParamB(2.0f);
    EXPECT_EQ(turn.GetRadius(), 17.0f);
    turn.AdjustParamB(-100.0f);
    EXPECT_EQ(turn.GetRadius(), 5.0f);
    turn.SetParamBNormalised(2.0f); // not clamped
    EXPECT_EQ(turn.GetRadius(), 75.0f);
    EXPECT_EQ(turn.GetParamBNormalised(), 2.0f);
}

TEST(coCoasterPieceTurn, DragScalesTheRadiusAlongTheChord) {
    coCoasterPieceTurn turn;
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    maVector3d direction;
    float chord = 0.0f;
    ASSERT_TRUE(turn.GetDragHandle(direction, chord));
    EXPECT_NEAR(chord, 15.0f * std::sqrt(2.0f), 1e-5f);
    ExpectVectorNear(direction, maVector3d(1, 0, 1) / std::sqrt(2.0f), 1e-6f);
    turn.Drag(chord);
    EXPECT_NEAR(turn.GetRadius(), 30.0f, 1e-5f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(30, 0, 30), 1e-4f);

    // A turn of angle 0 has no chord: no handle, and a drag changes nothing.
    turn.SetAngle(0.0f);
    turn.Build();
    EXPECT_FALSE(turn.GetDragHandle(direction, chord));
    turn.Drag(5.0f);
    EXPECT_NEAR(turn.GetRadius(), 30.0f, 1e-5f);
    EXPECT_EQ(turn.GetLength(), 0.0f);
    for (float element : turn.FrameAt(0.5f).m)
        EXPECT_TRUE(std::isfinite(element));
}

TEST(coCoasterPieceTurn, ReverseTwiceRestoresThePiece) {
    coCoasterPieceTurn before, turn, after;
    turn.SetAngle(coDegrees(60.0f));
    turn.SetRadius(12.0f);
    turn.SetRoll(0.3f);
    turn.SetSlope(0.25f);
    turn.SetPrevious(&before);
    turn.SetNext(&after);
    turn.Place(maVector3d(5, 6, 7), 0.4f);
    const maVector3d end = turn.GetEnd();
    const float endHeading = turn.GetEndHeading();

    turn.Reverse();
    EXPECT_EQ(turn.GetAngle(), -coDegrees(60.0f));
    ExpectVectorNear(turn.GetStart(), end, 0.0f);
    EXPECT_NEAR(turn.GetHeading(), endHeading + maPiF, 1e-6f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(5, 6, 7), 1e-5f);
    EXPECT_EQ(turn.GetPrevious(), &after);

    turn.Reverse();
    ExpectVectorNear(turn.GetStart(), maVector3d(5, 6, 7), 1e-5f);
    EXPECT_NEAR(turn.GetHeading(), 0.4f + maTwoPiF, 1e-5f);
    EXPECT_EQ(turn.GetAngle(), coDegrees(60.0f));
    EXPECT_EQ(turn.GetSlope(0), 0.25f);
    EXPECT_EQ(turn.GetRoll(0), 0.3f);
    EXPECT_EQ(turn.GetPrevious(), &before);
    EXPECT_EQ(turn.GetNext(), &after);
}

TEST(coCoasterPieceShallowTurn, ArcLengthAngleAndSteps) {
    coCoasterPieceShallowTurn turn;
    EXPECT_EQ(turn.GetAngle(), coDegrees(15.0f));
    EXPECT_EQ(turn.GetRunLength(), 20.0f);
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    EXPECT_EQ(turn.GetRadius(), 20.0f / coDegrees(15.0f));
    EXPECT_NEAR(turn.GetSpan(), 20.0f, 1e-5f);
    EXPECT_NEAR(turn.GetLength(), 20.0f, 1e-3f);
    const float r = turn.GetRadius();
    const float a = coDegrees(15.0f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(r * (1.0f - std::cos(a)), 0, r * std::sin(a)), 1e-4f);
    ExpectVectorNear(turn.PointAt(1.0f), turn.GetEnd(), 1e-4f);
    EXPECT_EQ(turn.GetEndHeading(), a);

    turn.AdjustParamB(1.0f);
    EXPECT_NEAR(turn.GetAngle(), coDegrees(17.0f), 1e-6f);
    turn.AdjustParamB(100.0f);
    EXPECT_EQ(turn.GetAngle(), GetShallowTurnAngleMax());
    turn.SetAngle(-coDegrees(3.0f));
    turn.AdjustParamB(1.0f);
    EXPECT_NEAR(turn.GetAngle(), -coDegrees(5.0f), 1e-6f);
    turn.AdjustParamB(-100.0f);
    EXPECT_EQ(turn.GetAngle(), -GetShallowTurnAngleMin());
    turn.SetParamBNormalised(1.0f);
    EXPECT_EQ(turn.GetAngle(), -GetShallowTurnAngleMax());
    EXPECT_NEAR(turn.GetParamBNormalised(), 1.0f, 1e-6f);
    turn.SetParamBNormalised(-3.0f); // clamped
    EXPECT_EQ(turn.GetAngle(), -GetShallowTurnAngleMin());

    turn.AdjustParamA(-100.0f);
    EXPECT_EQ(turn.GetRunLength(), 5.0f);
    turn.SetParamANormalised(-1.0f); // not clamped
    EXPECT_EQ(turn.GetRunLength(), -30.0f);
    EXPECT_EQ(turn.GetParamANormalised(), -1.0f);
}

TEST(coCoasterPieceShallowTurn, ReverseIsANoOpAndDragScalesTheLength) {
    coCoasterPieceShallowTurn turn, next;
    turn.SetNext(&next);
    turn.SetRoll(0.2f);
    turn.Place(maVector3d(1, 2, 3), 0.5f);
    turn.Reverse();
    ExpectVectorNear(turn.GetStart(), maVector3d(1, 2, 3), 0.0f);
    EXPECT_EQ(turn.GetHeading(), 0.5f);
    EXPECT_EQ(turn.GetRoll(0), 0.2f);
    EXPECT_EQ(turn.GetNext(), &next);
    EXPECT_EQ(turn.GetPrevious(), nullptr);

    maVector3d direction;
    float chord = 0.0f;
    ASSERT_TRUE(turn.GetDragHandle(direction, chord));
    turn.Drag(chord);
    EXPECT_NEAR(turn.GetRunLength(), 40.0f, 1e-4f);
    EXPECT_NEAR((turn.GetEnd() - turn.GetStart()).Length(), 2.0f * chord, 1e-4f);
}

TEST(coCoasterPieceShallowTurn, ZeroAngleIsAStraightPieceNotInfinity) {
    coCoasterPieceShallowTurn turn;
    turn.SetAngle(0.0f);
    turn.SetSlope(0.1f);
    turn.Place(maVector3d(0, 0, 0), maHalfPiF);
    EXPECT_TRUE(std::isinf(turn.GetRadius()));
    EXPECT_EQ(turn.GetSpan(), 20.0f);
    ExpectVectorNear(turn.GetEnd(), maVector3d(20, 20.0f * std::tan(0.1f), 0), 1e-5f);
    EXPECT_NEAR(turn.GetLength(), 20.0f / std::cos(0.1f), 1e-4f);
    for (float s : {0.0f, 0.3f, 1.0f}) {
        for (float element : turn.FrameAt(s).m)
            EXPECT_TRUE(std::isfinite(element));
    }
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
    for (float element : turn.FrameAt(0.5f).m)
        EXPECT_FALSE(std::isnan(element));
}
