#include "Source/Track/coCoasterPiece.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coBezier.h"
#include "Source/Track/coPieceLimits.h"

#include "coTrackTestSupport.h"

#include <limits>

TEST(coCoasterPiece, ConstructionAndPlacement) {
    // An unplaced piece starts at the origin, not at whatever the memory held.
    coTestLinePiece piece;
    ExpectVectorNear(piece.GetStart(), maVector3d(0, 0, 0), 0.0f);
    EXPECT_EQ(piece.GetRollBlend(), 2);
    EXPECT_EQ(piece.GetPrevious(), nullptr);
    EXPECT_EQ(piece.GetNext(), nullptr);

    // Without a predecessor a piece starts at (0, 2, 0) heading 0.
    piece.Connect(nullptr);
    ExpectVectorNear(piece.GetStart(), maVector3d(0, 2, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(0, 2, 20), 1e-6f);

    coTestLinePiece second(10.0f);
    piece.SetHeading(maHalfPiF);
    piece.Place(maVector3d(1, 2, 3), maHalfPiF);
    second.Connect(&piece);
    EXPECT_EQ(second.GetPrevious(), &piece);
    ExpectVectorNear(second.GetStart(), maVector3d(21, 2, 3), 1e-5f);
    EXPECT_EQ(second.GetHeading(), maHalfPiF);

    // The slope setter rebuilds (alone: no fillet towards a neighbour); the raised flag is the only flag.
    second.SetPrevious(nullptr);
    second.SetSlope(coDegrees(45.0f));
    EXPECT_NEAR(second.GetLength(), 10.0f * std::sqrt(2.0f) * 0.99999982f, 1e-4f);
    second.SetRaised(true);
    EXPECT_TRUE(second.IsRaised());
    second.SetRaised(false);
    EXPECT_FALSE(second.IsRaised());
}

TEST(coCoasterPiece, ArcTableSamplesStopJustShortOfTheEnd) {
    // The last of the 20 samples falls at t = 0.99999982 (19 float steps of 1/19).
    coTestLinePiece piece(20.0f);
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    EXPECT_FLOAT_EQ(piece.GetLength(), 19.999996f);
    EXPECT_EQ(piece.GetArcLengthTable().GetFractions().size(), 19u);
    ExpectVectorNear(piece.PointAt(0.0f), maVector3d(0, 0, 0), 1e-6f);
    ExpectVectorNear(piece.PointAt(1.0f), maVector3d(0, 0, 20), 1e-4f);
    ExpectVectorNear(piece.PointAt(0.5f), maVector3d(0, 0, 10), 1e-4f);
}

TEST(coCoasterPiece, SetRollWrapsByWholeTurnsKeepingPlusMinusPi) {
    coTestLinePiece piece;
    piece.SetRoll(maPiF);
    EXPECT_EQ(piece.GetRoll(0), maPiF);
    piece.SetRoll(-maPiF);
    EXPECT_EQ(piece.GetRoll(0), -maPiF);
    piece.SetRoll(4.0f);
    EXPECT_EQ(piece.GetRoll(0), 4.0f - maTwoPiF);
    piece.SetRoll(-7.0f);
    EXPECT_EQ(piece.GetRoll(0), -7.0f + maTwoPiF);
    piece.SetRoll(0.5f);
    EXPECT_EQ(piece.GetRoll(0), 0.5f);

    // Huge values end at once inside [-pi, pi]; infinite ones give NaN instead of looping for ever.
    piece.SetRoll(3.0e30f);
    EXPECT_LE(std::fabs(piece.GetRoll(0)), maPiF);
    piece.SetRoll(std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(piece.GetRoll(0)));

    float angle = 3.0f * maPiF + 0.25f;
    WrapAngle(angle);
    EXPECT_NEAR(angle, -maPiF + 0.25f, 1e-6f);
}

TEST(coCoasterPiece, ReverseTwiceRestoresStartAndLinks) {
    coTestLinePiece before;
    coTestLinePiece piece(15.0f);
    coTestLinePiece after;
    piece.SetRoll(0.4f);
    piece.SetSlope(0.3f);
    piece.SetPrevious(&before);
    piece.SetNext(&after);
    piece.Place(maVector3d(3, 4, 5), 1.0f);
    const maVector3d end = piece.GetEnd();

    piece.Reverse();
    ExpectVectorNear(piece.GetStart(), end, 1e-5f);
    EXPECT_NEAR(piece.GetHeading(), 1.0f + maPiF, 1e-6f);
    EXPECT_EQ(piece.GetRoll(0), -0.4f);
    EXPECT_EQ(piece.GetSlope(0), -0.3f);
    EXPECT_EQ(piece.GetPrevious(), &after);
    EXPECT_EQ(piece.GetNext(), &before);
    ExpectVectorNear(piece.GetEnd(), maVector3d(3, 4, 5), 1e-5f);

    piece.Reverse();
    ExpectVectorNear(piece.GetStart(), maVector3d(3, 4, 5), 1e-5f);
    EXPECT_NEAR(piece.GetHeading(), 1.0f + maTwoPiF, 1e-6f); // headings are not wrapped
    EXPECT_EQ(piece.GetRoll(0), 0.4f);
    EXPECT_EQ(piece.GetPrevious(), &before);
    EXPECT_EQ(piece.GetNext(), &after);
}

TEST(coCoasterPiece, FrameRowsAreSideUpTangentAndRollLiftsTheSide) {
    coTestLinePiece piece(10.0f);
    piece.SetSlope(0.5f);
    piece.Place(maVector3d(1, 1, 1), 0.7f);
    maMatrix4d frame = piece.FrameAt(0.5f);
    const maVector3d side(frame.m[0], frame.m[1], frame.m[2]);
    const maVector3d up(frame.m[4], frame.m[5], frame.m[6]);
    const maVector3d along(frame.m[8], frame.m[9], frame.m[10]);
    ExpectVectorNear(side, coSide(0.7f), 1e-6f);
    ExpectVectorNear(
        along, maVector3d(std::sin(0.7f) * std::cos(0.5f), std::sin(0.5f), std::cos(0.7f) * std::cos(0.5f)),
        1e-5f);
    EXPECT_NEAR(up.y, std::cos(0.5f), 1e-5f);
    ExpectVectorNear(maVector3d(frame.m[12], frame.m[13], frame.m[14]), piece.PointAt(0.5f), 0.0f);
    EXPECT_EQ(frame.m[3], 0.0f);
    EXPECT_EQ(frame.m[15], 1.0f);

    piece.SetRoll(0.3f);
    frame = piece.FrameAt(0.5f);
    EXPECT_NEAR(frame.m[1], std::sin(0.3f) * std::cos(0.5f), 1e-5f);
    ExpectVectorNear(maVector3d(frame.m[8], frame.m[9], frame.m[10]), along, 1e-6f);
}

TEST(coPieceLimits, ClampDeltaAndTheAttitudeChecks) {
    float delta = coDegrees(5.0f);
    EXPECT_TRUE(ClampDelta(coDegrees(74.0f), -coDegrees(75.0f), coDegrees(75.0f), delta));
    EXPECT_NEAR(delta, coDegrees(1.0f), 1e-6f);
    delta = coDegrees(1.0f);
    EXPECT_FALSE(ClampDelta(coDegrees(75.0f), -coDegrees(75.0f), coDegrees(75.0f), delta));
    delta = -coDegrees(10.0f);
    EXPECT_TRUE(ClampDelta(-coDegrees(70.0f), -coDegrees(75.0f), coDegrees(75.0f), delta));
    EXPECT_NEAR(delta, -coDegrees(5.0f), 1e-6f);
    delta = -1.0f;
    EXPECT_FALSE(ClampDelta(-2.0f, -2.0f, 2.0f, delta));
    delta = 0.5f;
    EXPECT_TRUE(ClampDelta(0.0f, -2.0f, 2.0f, delta));
    EXPECT_EQ(delta, 0.5f);

    coTestLinePiece piece;
    piece.SetSlope(coDegrees(74.0f));
    delta = coDegrees(5.0f);
    EXPECT_TRUE(coSlopeWithinLimits(piece, delta));
    EXPECT_NEAR(piece.GetSlope(0) + delta, coDegrees(75.0f), 1e-6f);
    EXPECT_EQ(MaxSlopeFor(piece), coDegrees(75.0f));

    piece.SetRoll(coDegrees(50.0f));
    EXPECT_TRUE(coRollWithinLimits(piece, coDegrees(170.0f)));
    {
        coFakeDefinition noInverts(false);
        EXPECT_TRUE(coRollWithinLimits(piece, coDegrees(4.0f)));
        EXPECT_FALSE(coRollWithinLimits(piece, coDegrees(5.0f)));
        EXPECT_TRUE(coRollWithinLimits(piece, -coDegrees(103.0f)));
        EXPECT_FALSE(coRollWithinLimits(piece, -coDegrees(105.0f)));
    }
    EXPECT_TRUE(coGetCoasterDefinition().GetAllowInvertPieces());

    EXPECT_EQ(GetWorldMaxHeight(), 200.0f);
    EXPECT_EQ(GetTurnAngleMax(), 180.0f * maRadiansPerDegreeF);
    EXPECT_EQ(GetTurnAngleMin(), 15.0f * maRadiansPerDegreeF);
    EXPECT_EQ(GetShallowTurnAngleMax(), 30.0f * maRadiansPerDegreeF);
    EXPECT_EQ(GetHalfCorkscrewAngleMin(), 0.0001f * maRadiansPerDegreeF);
    EXPECT_EQ(GetStraightLengthMin(), 5.0f);
    EXPECT_EQ(GetStraightLengthMax(), 40.0f);
}

TEST(coBezier, ClampedPointsUnclampedTangentsAndTheEase) {
    const maVector3d p[4] = {maVector3d(0, 0, 0), maVector3d(1, 2, 0), maVector3d(3, 2, 0),
                             maVector3d(4, 0, 1)};
    ExpectVectorNear(BezierPoint(p, -1.0f), p[0], 0.0f);
    ExpectVectorNear(BezierPoint(p, 2.0f), p[3], 0.0f);
    ExpectVectorNear(BezierPoint(p, 0.5f), maVector3d(2.0f, 1.5f, 0.125f), 1e-6f);
    ExpectVectorNear(BezierTangent(p, 0.0f), maVector3d(1, 2, 0) / std::sqrt(5.0f), 1e-6f);
    ExpectVectorNear(BezierTangent(p, 1.0f), maVector3d(1, -2, 1) / std::sqrt(6.0f), 1e-6f);
    // Unclamped: past the end the derivative of the continued cubic.
    EXPECT_NE(BezierTangent(p, 2.0f).x, BezierTangent(p, 1.0f).x);
    const maVector3d still[4] = {p[0], p[0], p[0], p[0]};
    ExpectVectorNear(BezierTangent(still, 0.5f), maVector3d(0, 0, 0), 0.0f);

    EXPECT_EQ(coEaseInOut(0.0f), 0.0f);
    EXPECT_NEAR(coEaseInOut(0.5f), 0.5f, 1e-6f);
    EXPECT_EQ(coEaseInOut(1.0f), 1.0f);
    EXPECT_EQ(coEaseInOut(1.5f), 1.0f);
    EXPECT_EQ(coEaseInOut(-1.0f), 0.0f);
    EXPECT_NEAR(coEaseInOut(0.25f), 3 * 0.0625f - 2 * 0.015625f, 1e-6f);
}
