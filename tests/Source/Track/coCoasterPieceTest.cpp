#include "Source/Track/coCoasterPiece.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coBezier.h"
#include "Source/Track/coPieceLimits.h"

#include "Source/Track/coTrackTestSupport.h"

#include <limits>

TEST(coCoasterPiece, StartsAtTheOriginAndChainsFromItsPredecessor) {
    // An unplaced piece starts at the origin, not at whatever the memory held.
    coTestLinePiece piece;
    ExpectVectorNear(piece.GetStart(), maVector3d(0, 0, 0), 0.0f);
    // Without a predecessor a piece starts at (0, 2, 0) heading 0.
    piece.Connect(nullptr);
    ExpectVectorNear(piece.GetStart(), maVector3d(0, 2, 0), 0.0f);

    coTestLinePiece second(10.0f);
    piece.Place(maVector3d(1, 2, 3), maHalfPiF);
    second.Connect(&piece);
    EXPECT_EQ(second.GetPrevious(), &piece);
    ExpectVectorNear(second.GetStart(), maVector3d(21, 2, 3), 1e-5f);
    EXPECT_EQ(second.GetHeading(), maHalfPiF);
}

TEST(coCoasterPiece, SetRollWrapsByWholeTurnsKeepingPlusMinusPi) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float roll, expected;
    } cases[] = {
        {maPiF, maPiF}, {-maPiF, -maPiF}, {4.0f, 4.0f - maTwoPiF}, {-7.0f, -7.0f + maTwoPiF}, {0.5f, 0.5f}};
    coTestLinePiece piece;
    for (const auto& c : cases) {
        piece.SetRoll(c.roll);
        EXPECT_EQ(piece.GetRoll(0), c.expected) << c.roll;
    }
    // Huge values end at once inside [-pi, pi]; infinite ones give NaN instead of looping for ever.
    piece.SetRoll(3.0e30f);
    EXPECT_LE(std::fabs(piece.GetRoll(0)), maPiF);
    piece.SetRoll(inf);
    EXPECT_TRUE(std::isnan(piece.GetRoll(0)));
    float angle = 3.0f * maPiF + 0.25f;
    WrapAngle(angle);
    EXPECT_NEAR(angle, -maPiF + 0.25f, 1e-6f);
}

TEST(coPieceLimits, ClampDeltaAndTheAttitudeChecks) {
    const float limit = coDegrees(75.0f);
    const struct {
        float current, minimum, maximum, delta;
        bool accepted;
        float clamped;
    } cases[] = {
        {coDegrees(74.0f), -limit, limit, coDegrees(5.0f), true, coDegrees(1.0f)},
        {limit, -limit, limit, coDegrees(1.0f), false, 0.0f},
        {-coDegrees(70.0f), -limit, limit, -coDegrees(10.0f), true, -coDegrees(5.0f)},
        {-2.0f, -2.0f, 2.0f, -1.0f, false, 0.0f},
        {0.0f, -2.0f, 2.0f, 0.5f, true, 0.5f},
    };
    for (const auto& c : cases) {
        float delta = c.delta;
        EXPECT_EQ(ClampDelta(c.current, c.minimum, c.maximum, delta), c.accepted) << c.current;
        if (c.accepted) {
            EXPECT_NEAR(delta, c.clamped, 1e-6f) << c.current;
        }
    }

    coTestLinePiece piece;
    piece.SetSlope(coDegrees(74.0f));
    float delta = coDegrees(5.0f);
    EXPECT_TRUE(coSlopeWithinLimits(piece, delta));
    EXPECT_NEAR(piece.GetSlope(0) + delta, limit, 1e-6f);

    // A definition without inverting pieces keeps the roll within -105 .. 5 degrees of level.
    piece.SetRoll(coDegrees(50.0f));
    EXPECT_TRUE(coRollWithinLimits(piece, coDegrees(170.0f)));
    coFakeDefinition noInverts(false);
    for (const auto& [delta, within] : {std::pair{coDegrees(4.0f), true},
                                        {coDegrees(5.0f), false},
                                        {-coDegrees(103.0f), true},
                                        {-coDegrees(105.0f), false}})
        EXPECT_EQ(coRollWithinLimits(piece, delta), within) << delta;
}

TEST(coBezier, ClampedPointsUnclampedTangentsAndTheEase) {
    const maVector3d p[4] = {maVector3d(0, 0, 0), maVector3d(1, 2, 0), maVector3d(3, 2, 0),
                             maVector3d(4, 0, 1)};
    ExpectVectorNear(BezierPoint(p, -1.0f), p[0], 0.0f);
    ExpectVectorNear(BezierPoint(p, 2.0f), p[3], 0.0f);
    ExpectVectorNear(BezierPoint(p, 0.5f), maVector3d(2.0f, 1.5f, 0.125f), 1e-6f);
    ExpectVectorNear(BezierTangent(p, 1.0f), maVector3d(1, -2, 1) / std::sqrt(6.0f), 1e-6f);
    // Unclamped: past the end the derivative of the continued cubic.
    EXPECT_NE(BezierTangent(p, 2.0f).x, BezierTangent(p, 1.0f).x);
    // Coincident points have no direction: zero, not NaN.
    const maVector3d still[4] = {p[0], p[0], p[0], p[0]};
    ExpectVectorNear(BezierTangent(still, 0.5f), maVector3d(0, 0, 0), 0.0f);

    for (const auto& [t, eased] :
         {std::pair{-1.0f, 0.0f}, {0.0f, 0.0f}, {0.5f, 0.5f}, {1.0f, 1.0f}, {1.5f, 1.0f}})
        EXPECT_NEAR(coEaseInOut(t), eased, 1e-6f) << t;
}
