#include "Source/Track/coCoasterPieceSTurn.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"

#include "coTrackTestSupport.h"

#include <limits>

namespace {
// A default S-turn placed at the origin with heading 0 and slope 0.
void PlaceAtOrigin(coCoasterPieceSTurn& piece, float heading = 0.0f) {
    piece.Place(maVector3d(0, 0, 0), heading);
}
} // namespace

TEST(coCoasterPieceSTurn, DefaultShape) {
    coCoasterPieceSTurn piece;
    PlaceAtOrigin(piece);
    ExpectVectorNear(piece.GetEnd(), maVector3d(-8, 0, 20), 1e-6f);
    EXPECT_EQ(piece.GetEndHeading(), 0.0f);
    EXPECT_EQ(piece.GetSpan(), 28.0f);
    EXPECT_FALSE(piece.HasEndHeading());

    // It leaves and arrives along the heading, sliding monotonically towards -N in between.
    maVector3d direction;
    ExpectVectorNear(piece.PointAt(0.0f, &direction), maVector3d(0, 0, 0), 1e-6f);
    ExpectVectorNear(direction, maVector3d(0, 0, 1), 1e-6f);
    ExpectVectorNear(piece.PointAt(1.0f, &direction), maVector3d(-8, 0, 20), 1e-4f);
    ExpectVectorNear(direction, maVector3d(0, 0, 1), 1e-5f);
    ExpectVectorNear(piece.SideAt(0.0f), maVector3d(1, 0, 0), 1e-6f);
    float previousX = 0.0f;
    for (int i = 1; i < 10; ++i) {
        const maVector3d point = piece.PointAt(0.1f * static_cast<float>(i), &direction);
        EXPECT_LT(point.x, previousX);
        EXPECT_LT(direction.x, 0.0f);
        previousX = point.x;
    }
    // Mid-way the side vector is square to the curve's heading, not to the start heading.
    const maVector3d side = piece.SideAt(0.5f);
    piece.PointAt(0.5f, &direction);
    EXPECT_NEAR(side.x * direction.x + side.z * direction.z, 0.0f, 1e-6f);
    EXPECT_GT(side.z, 0.1f);
    EXPECT_GT(piece.GetLength(), 20.0f + 1.0f);
}

TEST(coCoasterPieceSTurn, TheSlideStaysWithinTwiceTheLength) {
    coCoasterPieceSTurn piece;
    PlaceAtOrigin(piece);
    piece.AdjustParamB(1.0f); // a positive step lowers the slide: the end moves towards +N
    EXPECT_EQ(piece.GetSlide(), 7.0f);
    EXPECT_NEAR(piece.GetEnd().x, -7.0f, 1e-6f);

    // Stepping either parameter past |slide| = 2 x length is refused; the normalised setters allow it.
    piece.SetParamANormalised(0.0f);
    piece.SetParamBNormalised(0.75f);
    EXPECT_EQ(piece.GetRunLength(), 5.0f);
    EXPECT_EQ(piece.GetSlide(), 20.0f);
    piece.SetParamANormalised(0.42857143f); // length 20
    piece.SetParamBNormalised(1.0f);        // slide 40
    piece.AdjustParamA(-1.0f);
    EXPECT_EQ(piece.GetRunLength(), 20.0f);
    piece.SetParamBNormalised(0.5f); // slide 0
    piece.SetParamANormalised(0.0f); // length 5
    piece.AdjustParamB(-10.0f);
    EXPECT_EQ(piece.GetSlide(), 10.0f);
    piece.AdjustParamB(-1.0f);
    EXPECT_EQ(piece.GetSlide(), 10.0f);
}

TEST(coCoasterPieceSTurn, ParameterChangesKeepTheEndHeight) {
    coCoasterPieceSTurn piece;
    piece.SetSlope(coDegrees(10.0f));
    piece.Place(maVector3d(1, 2, 3), 0.7f);
    const float endY = piece.GetEnd().y;
    EXPECT_NEAR(endY - 2.0f, 28.0f * std::tan(coDegrees(10.0f)), 1e-5f);

    piece.AdjustParamA(5.0f);
    EXPECT_NEAR(piece.GetEnd().y, endY, 1e-4f);
    piece.AdjustParamB(3.0f);
    EXPECT_NEAR(piece.GetEnd().y, endY, 1e-4f);
    piece.SetParamANormalised(0.9f);
    EXPECT_NEAR(piece.GetEnd().y, endY, 1e-4f);
    piece.SetParamBNormalised(0.1f);
    EXPECT_NEAR(piece.GetEnd().y, endY, 1e-4f);
    EXPECT_NEAR(piece.GetBaseSlope(), std::atan((endY - 2.0f) / piece.GetSpan()), 1e-6f);
    ExpectVectorNear(piece.PointAt(1.0f), piece.GetEnd(), 1e-4f);

    // A piece of no span (only from files) keeps its slope rather than dividing by zero.
    coCoasterPieceSTurn empty;
    empty.SetRunLength(0.0f);
    empty.SetSlide(0.0f);
    empty.SetSlope(0.3f);
    empty.Place(maVector3d(0, 0, 0), 0.0f);
    empty.AdjustParamB(0.0f);
    EXPECT_EQ(empty.GetBaseSlope(), 0.3f);
    const maMatrix4d frame = empty.FrameAt(0.5f);
    for (float element : frame.m)
        EXPECT_TRUE(std::isfinite(element));
}

TEST(coCoasterPieceSTurn, FitToPoint) {
    coCoasterPieceSTurn piece;
    piece.Place(maVector3d(5, 1, -2), maHalfPiF);
    const maVector3d forward = coForward(maHalfPiF);
    const maVector3d side = coSide(maHalfPiF);

    // Less than 0.5 ahead: refused, nothing changed.
    EXPECT_FALSE(piece.FitToPoint(piece.GetStart() + forward * 0.4f + side * 3.0f));
    EXPECT_EQ(piece.GetRunLength(), 20.0f);
    EXPECT_EQ(piece.GetSlide(), 8.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(piece.FitToPoint(maVector3d(nan, 0, 0)));
    EXPECT_FALSE(piece.FitToPoint(maVector3d(0, std::numeric_limits<float>::infinity(), 0)));
    EXPECT_EQ(piece.GetRunLength(), 20.0f);

    // 10 ahead, 3 along +N and 2 up: length 10, slide -3, slope atan(2 / 13); the end lands there.
    const maVector3d target = piece.GetStart() + forward * 10.0f + side * 3.0f + maVector3d(0, 2, 0);
    EXPECT_TRUE(piece.FitToPoint(target));
    EXPECT_NEAR(piece.GetRunLength(), 10.0f, 1e-5f);
    EXPECT_NEAR(piece.GetSlide(), -3.0f, 1e-5f);
    EXPECT_NEAR(piece.GetBaseSlope(), std::atan(2.0f / 13.0f), 1e-6f);
    ExpectVectorNear(piece.GetEnd(), target, 1e-5f);
    ExpectVectorNear(piece.PointAt(1.0f), target, 1e-4f);
}

TEST(coCoasterPieceSTurn, ExplicitEndHeading) {
    coCoasterPieceSTurn piece;
    PlaceAtOrigin(piece);
    EXPECT_TRUE(piece.SetEndHeading(maHalfPiF));
    EXPECT_TRUE(piece.HasEndHeading());
    EXPECT_EQ(piece.GetEndHeading(), maHalfPiF);
    maVector3d direction;
    ExpectVectorNear(piece.PointAt(1.0f, &direction), piece.GetEnd(), 1e-4f);
    ExpectVectorNear(direction, coForward(maHalfPiF), 1e-4f);

    // The end heading stays whatever the start heading becomes, and through Reverse.
    piece.Place(maVector3d(0, 0, 0), 1.0f);
    EXPECT_EQ(piece.GetEndHeading(), maHalfPiF);
    piece.Reverse();
    EXPECT_TRUE(piece.HasEndHeading());
    EXPECT_EQ(piece.GetEndHeading(), maHalfPiF);

    // Headings from outside are kept within a turn; non-finite ones are refused.
    EXPECT_TRUE(piece.SetEndHeading(7.0f));
    EXPECT_FLOAT_EQ(piece.GetEndHeading(), 7.0f - maTwoPiF);
    EXPECT_FALSE(piece.SetEndHeading(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(piece.SetEndHeading(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FLOAT_EQ(piece.GetEndHeading(), 7.0f - maTwoPiF);
}
