#include "Source/Track/coCoasterPieceSTurn.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"

#include "Source/Track/coTrackTestSupport.h"

#include <limits>
#include <tuple>

TEST(coCoasterPieceSTurn, DefaultShapeAndTheSlideWithinTwiceTheLength) {
    coCoasterPieceSTurn piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(-8, 0, 20), 1e-6f);
    EXPECT_EQ(std::tuple(piece.GetEndHeading(), piece.GetSpan()), std::tuple(0.0f, 28.0f));
    // It arrives along the heading, sliding towards -N on the way.
    maVector3d direction;
    piece.PointAt(1.0f, &direction);
    ExpectVectorNear(direction, maVector3d(0, 0, 1), 1e-5f);
    piece.PointAt(0.5f, &direction);
    EXPECT_LT(direction.x, 0.0f);

    piece.AdjustParamB(1.0f); // a positive step lowers the slide: the end moves towards +N
    EXPECT_EQ(piece.GetSlide(), 7.0f);
    EXPECT_NEAR(piece.GetEnd().x, -7.0f, 1e-6f);
    // Stepping either parameter past |slide| = 2 x length is refused; the normalised setters allow it.
    piece.SetParamANormalised(0.0f);
    piece.SetParamBNormalised(0.75f);
    EXPECT_EQ(std::tuple(piece.GetRunLength(), piece.GetSlide()), std::tuple(5.0f, 20.0f));
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

TEST(coCoasterPieceSTurn, APieceOfNoSpanKeepsItsSlope) {
    // Only from files: the slope of the fitted end would divide by zero.
    coCoasterPieceSTurn empty;
    empty.SetRunLength(0.0f);
    empty.SetSlide(0.0f);
    empty.SetSlope(0.3f);
    empty.Place(maVector3d(0, 0, 0), 0.0f);
    empty.AdjustParamB(0.0f);
    EXPECT_EQ(empty.GetBaseSlope(), 0.3f);
    ExpectFiniteFrames(empty);
}

TEST(coCoasterPieceSTurn, FitToPoint) {
    coCoasterPieceSTurn piece;
    piece.Place(maVector3d(5, 1, -2), maHalfPiF);
    const maVector3d forward = coForward(maHalfPiF), side = coSide(maHalfPiF);
    // Less than 0.5 ahead, or not finite: refused, nothing changed.
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (const maVector3d& refused :
         {piece.GetStart() + forward * 0.4f + side * 3.0f, maVector3d(nan, 0, 0), maVector3d(0, inf, 0)})
        EXPECT_FALSE(piece.FitToPoint(refused));
    EXPECT_EQ(std::tuple(piece.GetRunLength(), piece.GetSlide()), std::tuple(20.0f, 8.0f));

    // 10 ahead, 3 along +N and 2 up: length 10, slide -3, slope atan(2 / 13); the end lands there.
    const maVector3d target = piece.GetStart() + forward * 10.0f + side * 3.0f + maVector3d(0, 2, 0);
    EXPECT_TRUE(piece.FitToPoint(target));
    EXPECT_NEAR(piece.GetRunLength(), 10.0f, 1e-5f);
    EXPECT_NEAR(piece.GetSlide(), -3.0f, 1e-5f);
    EXPECT_NEAR(piece.GetBaseSlope(), std::atan(2.0f / 13.0f), 1e-6f);
    ExpectVectorNear(piece.PointAt(1.0f), target, 1e-4f);
}

TEST(coCoasterPieceSTurn, ExplicitEndHeading) {
    coCoasterPieceSTurn piece;
    EXPECT_FALSE(piece.HasEndHeading());
    EXPECT_TRUE(piece.SetEndHeading(maHalfPiF));
    piece.Place(maVector3d(0, 0, 0), 1.0f);
    maVector3d direction;
    piece.PointAt(1.0f, &direction);
    ExpectVectorNear(direction, coForward(maHalfPiF), 1e-4f);
    // The end heading stays whatever the start heading becomes, and through Reverse.
    piece.Reverse();
    EXPECT_EQ(std::tuple(piece.HasEndHeading(), piece.GetEndHeading()), std::tuple(true, maHalfPiF));
    // Headings from outside are kept within a turn; non-finite ones are refused.
    EXPECT_TRUE(piece.SetEndHeading(7.0f));
    for (float refused : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
        EXPECT_FALSE(piece.SetEndHeading(refused));
    EXPECT_FLOAT_EQ(piece.GetEndHeading(), 7.0f - maTwoPiF);
}
