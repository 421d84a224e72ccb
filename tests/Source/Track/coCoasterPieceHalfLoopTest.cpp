#include "Source/Track/coCoasterPieceHalfLoop.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coPieceLimits.h"

#include "Source/Track/coTrackTestSupport.h"

namespace {
// Piece a at its end and piece b at its start carry the same frame. Across the end of a half loop the
// rolls differ by pi while the frames agree: the half loop's own shape turns it over.
void ExpectFramesMeet(const coCoasterPiece& a, const coCoasterPiece& b) {
    const maMatrix4d end = a.FrameAt(1.0f), start = b.FrameAt(0.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(end.m[i], start.m[i], i >= 12 ? coPositionTolerance(a.GetEnd()) : 1e-4f)
            << "element " << i;
}
} // namespace

TEST(coCoasterPieceHalfLoop, DefaultEndsUpsideDownHeadingBackAndTheInvertedOneBelow) {
    coCoasterPieceHalfLoop piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(0, 26, 0), 1e-5f);
    EXPECT_EQ(piece.GetEndHeading(), maPiF);
    EXPECT_NEAR(piece.GetSlope(1), 0.0f, 1e-6f);
    EXPECT_EQ(piece.GetRoll(1), maPiF);
    EXPECT_LT(piece.FrameAt(1.0f).m[5], -0.999f);
    // Only 1 names the end for the roll; any non-zero value does for the slope.
    piece.SetRatio(0.8f);
    piece.Build();
    EXPECT_EQ(piece.GetRoll(2), 0.0f);
    EXPECT_GT(piece.GetSlope(-1), 0.1f);
    coCoasterPieceHalfLoop inverted;
    inverted.SetInverted(true);
    inverted.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(inverted.GetEnd(), maVector3d(0, -26, 0), 1e-5f);
    EXPECT_LT(inverted.PointAt(0.5f).y, -10.0f);
}

TEST(coCoasterPieceHalfLoop, RatioExtremesRunShortOfAndPastTheTop) {
    coCoasterPieceHalfLoop piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    piece.AdjustParamA(-100.0f);
    // Part-way up, still climbing steeply back over.
    EXPECT_GT(piece.GetSlope(1), coDegrees(45.0f));
    EXPECT_LT(piece.GetEnd().y, 20.0f);
    ExpectFiniteFrames(piece);
    // Past the top the profile's cubic runs on behind the start, coming down again.
    piece.AdjustParamA(100.0f);
    const float t = GetHalfLoopRatioMax();
    EXPECT_NEAR(piece.GetEnd().z, 0.675f * 26.0f * 3 * t * (1 - t), 1e-4f);
    EXPECT_LT(piece.GetSlope(1), -0.1f);
    ExpectFiniteFrames(piece);

    // Files may hold ratios and heights far outside the ranges; nothing turns NaN.
    for (float ratio : {0.0f, 3.0f, -2.0f})
        for (float height : {0.0f, 26.0f}) {
            coCoasterPieceHalfLoop odd;
            odd.SetRatio(ratio);
            odd.SetHeight(height);
            odd.Place(maVector3d(0, 0, 0), 0.0f);
            ExpectFiniteFrames(odd);
            EXPECT_TRUE(std::isfinite(odd.GetSlope(1)));
        }
}

TEST(coCoasterPieceHalfLoop, NeighboursMeetInPointAndFrameAtBothEnds) {
    coTestLinePiece before(12.0f), after(18.0f);
    coCoasterPieceHalfLoop piece;
    before.SetSlope(coDegrees(12.0f));
    piece.SetRoll(0.3f);
    after.SetSlope(coDegrees(-8.0f));
    after.SetRoll(0.3f + maPiF);
    coLinkPieces({&before, &piece, &after});
    ExpectFramesMeet(before, piece);
    ExpectFramesMeet(piece, after);

    // With a steep end the joint takes the fillet from the sloped runs, on both sides alike.
    piece.SetRatio(GetHalfLoopRatioMin());
    piece.Build();
    after.Connect(&piece);
    EXPECT_FALSE(coSlopeBlendAllowed(piece, 1));
    ExpectFramesMeet(before, piece);
    ExpectFramesMeet(piece, after);
}
