#include "Source/Track/coCoasterPieceHalfLoop.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coPieceLimits.h"

#include "coTrackTestSupport.h"

namespace {
class coOpenHalfLoop : public coCoasterPieceHalfLoop {
  public:
    using coCoasterPieceHalfLoop::Evaluate;
};

void ExpectFinite(const coCoasterPiece& piece) {
    ExpectFiniteFrames(piece);
    EXPECT_TRUE(std::isfinite(piece.GetSlope(1)));
}

// Piece a at its end and piece b at its start carry the same frame. Across the end of a half loop the
// rolls differ by pi while the frames agree: the half loop's own shape turns it over.
void ExpectFramesMeet(const coCoasterPiece& a, const coCoasterPiece& b, float eps) {
    const maMatrix4d end = a.FrameAt(1.0f);
    const maMatrix4d start = b.FrameAt(0.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(end.m[i], start.m[i], i >= 12 ? coPositionTolerance(a.GetEnd()) : eps) << "element " << i;
}
} // namespace

TEST(coCoasterPieceHalfLoop, DefaultHalfLoopEndsUpsideDownHeadingBack) {
    coOpenHalfLoop piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(0, 26, 0), 1e-5f);
    EXPECT_EQ(piece.GetEndHeading(), maPiF);
    EXPECT_NEAR(piece.GetSlope(1), 0.0f, 1e-6f);
    EXPECT_EQ(piece.GetRoll(1), maPiF);
    EXPECT_EQ(piece.GetRoll(0), 0.0f);
    EXPECT_EQ(piece.GetSpan(), 26.0f);
    maVector3d direction;
    ExpectVectorNear(piece.PointAt(1.0f, &direction), piece.GetEnd(), 1e-4f);
    ExpectVectorNear(direction, maVector3d(0, 0, -1), 1e-5f);

    // Alone, level and at ratio 1 the centre line is the profile: forward, up and back over the top.
    const float reach = 0.675f * 26.0f;
    ExpectVectorNear(piece.Evaluate(0.5f, nullptr), maVector3d(0, 13, 0.75f * reach), 1e-5f);
    ExpectVectorNear(piece.Evaluate(0.25f, nullptr),
                     maVector3d(0, 26 * (3 * 0.0625f - 2 * 0.015625f), 3 * 0.25f * 0.75f * reach), 1e-5f);
    // Hanging upside down at the end: the frame's up points down.
    EXPECT_LT(piece.FrameAt(1.0f).m[5], -0.999f);

    coCoasterPieceHalfLoop inverted;
    inverted.SetInverted(true);
    inverted.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(inverted.GetEnd(), maVector3d(0, -26, 0), 1e-5f);
    EXPECT_NEAR(inverted.GetSlope(1), 0.0f, 1e-6f);
    EXPECT_LT(inverted.PointAt(0.5f).y, -10.0f);
}

TEST(coCoasterPieceHalfLoop, EndHeadingRollAndSlopeQueries) {
    coCoasterPieceHalfLoop piece;
    piece.SetRoll(0.5f);
    piece.SetRatio(0.8f);
    piece.Place(maVector3d(0, 0, 0), maPiF);
    EXPECT_EQ(piece.GetEndHeading(), 0.0f);
    piece.Place(maVector3d(0, 0, 0), 3.0f);
    EXPECT_EQ(piece.GetEndHeading(), 3.0f + maPiF);
    // Only 1 names the end for the roll; any non-zero value does for the slope.
    EXPECT_EQ(piece.GetRoll(1), 0.5f + maPiF);
    EXPECT_EQ(piece.GetRoll(2), 0.5f);
    EXPECT_GT(piece.GetSlope(1), 0.1f);
    EXPECT_EQ(piece.GetSlope(2), piece.GetSlope(1));
    EXPECT_EQ(piece.GetSlope(-1), piece.GetSlope(1));
    EXPECT_EQ(piece.GetSlope(0), 0.0f);
    EXPECT_EQ(piece.GetSlopeTan(1), std::tan(piece.GetSlope(1)));

    // Tilted by its slope, the profile's end turns with it: 20 degrees up, it ends 20 degrees down.
    coCoasterPieceHalfLoop sloped;
    sloped.SetSlope(coDegrees(20.0f));
    sloped.Place(maVector3d(1, 2, 3), 0.0f);
    EXPECT_NEAR(sloped.GetSlope(1), coDegrees(-20.0f), 1e-6f);
    ExpectVectorNear(sloped.GetEnd(),
                     maVector3d(1, 2 + 26 * std::cos(coDegrees(20.0f)), 3 - 26 * std::sin(coDegrees(20.0f))),
                     1e-5f);
    ExpectVectorNear(sloped.PointAt(1.0f), sloped.GetEnd(), 1e-4f);
}

TEST(coCoasterPieceHalfLoop, RatioExtremesRunShortOfAndPastTheTop) {
    coCoasterPieceHalfLoop piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    piece.AdjustParamA(-100.0f);
    EXPECT_EQ(piece.GetRatio(), GetHalfLoopRatioMin());
    // Part-way up, still climbing steeply back over.
    EXPECT_GT(piece.GetSlope(1), coDegrees(45.0f));
    EXPECT_LT(piece.GetEnd().y, 20.0f);
    EXPECT_GT(piece.GetEnd().z, 10.0f);
    ExpectFinite(piece);

    // Past the top the profile's cubic runs on behind the start, coming down again.
    piece.AdjustParamA(100.0f);
    EXPECT_EQ(piece.GetRatio(), GetHalfLoopRatioMax());
    const float t = GetHalfLoopRatioMax();
    EXPECT_NEAR(piece.GetEnd().y, 26.0f * (3 * t * t - 2 * t * t * t), 1e-4f);
    EXPECT_NEAR(piece.GetEnd().z, 0.675f * 26.0f * 3 * t * (1 - t), 1e-4f);
    EXPECT_LT(piece.GetEnd().z, -5.0f);
    EXPECT_LT(piece.GetSlope(1), -0.1f);
    ExpectVectorNear(piece.PointAt(1.0f), piece.GetEnd(), 1e-4f);
    ExpectFinite(piece);

    // Files may hold ratios and heights far outside the ranges; nothing turns NaN.
    for (float ratio : {0.0f, 3.0f, -2.0f}) {
        for (float height : {0.0f, 26.0f}) {
            coCoasterPieceHalfLoop odd;
            odd.SetRatio(ratio);
            odd.SetHeight(height);
            odd.Place(maVector3d(0, 0, 0), 0.0f);
            ExpectFinite(odd);
        }
    }
}

TEST(coCoasterPieceHalfLoop, NeighboursJoinAtBothEnds) {
    // Neighbours of other spans and slopes: the joints meet in point and direction, the end one
    // upside down and heading back.
    coTestLinePiece before(12.0f), after(18.0f);
    coCoasterPieceHalfLoop piece;
    before.SetSlope(coDegrees(12.0f));
    piece.SetRoll(0.3f);
    after.SetSlope(coDegrees(-8.0f));
    after.SetRoll(0.3f + maPiF);
    coLinkPieces({&before, &piece, &after});
    ExpectFramesMeet(before, piece, 1e-4f);
    ExpectFramesMeet(piece, after, 1e-4f);
    EXPECT_LT(piece.FrameAt(1.0f).m[5], -0.9f);

    // With a steep end the joint takes the fillet from the sloped runs, on both sides alike.
    piece.SetRatio(GetHalfLoopRatioMin());
    piece.Build();
    after.Connect(&piece);
    EXPECT_FALSE(coSlopeBlendAllowed(piece, 1));
    ExpectFramesMeet(before, piece, 1e-4f);
    ExpectFramesMeet(piece, after, 1e-4f);
}
