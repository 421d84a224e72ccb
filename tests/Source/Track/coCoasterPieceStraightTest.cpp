#include "Source/Track/coCoasterPieceStraight.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coPieceLimits.h"

#include "coTrackTestSupport.h"

TEST(coCoasterPieceStraight, DefaultsEndAndSlopedLength) {
    coCoasterPieceStraight piece;
    EXPECT_EQ(piece.GetRunLength(), 10.0f);
    EXPECT_TRUE(piece.KeepsAttitude());
    EXPECT_EQ(piece.GetTestPointCount(), 3);
    EXPECT_EQ(piece.GetSectionCount(), 4);
    EXPECT_EQ(piece.GetMaxRollBlendMode(), 2);

    piece.SetRunLength(20.0f);
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    EXPECT_FLOAT_EQ(piece.GetLength(), 19.999996f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(0, 0, 20), 0.0f);

    // Sloped: ends L tan s higher, its length is L / cos s, its span stays L.
    const float slope = coDegrees(30.0f);
    piece.SetSlope(slope);
    ExpectVectorNear(piece.GetEnd(), maVector3d(0, 20.0f * std::tan(slope), 20), 1e-5f);
    EXPECT_NEAR(piece.GetLength(), 20.0f / std::cos(slope), 1e-4f);
    EXPECT_EQ(piece.GetSpan(), 20.0f);
    EXPECT_NEAR(piece.GetSlopedSpan(), 20.0f / std::cos(slope), 1e-5f);
    ExpectVectorNear(piece.PointAt(1.0f), piece.GetEnd(), 1e-4f);

    piece.Place(maVector3d(1, 2, 3), maHalfPiF);
    ExpectVectorNear(piece.GetEnd(), maVector3d(21, 2 + 20.0f * std::tan(slope), 3), 1e-5f);
    EXPECT_EQ(piece.GetEndHeading(), maHalfPiF);
    ExpectVectorNear(piece.SideAt(0.3f), coSide(maHalfPiF), 1e-7f);
}

TEST(coCoasterPieceStraight, ParametersStepWithinTheirLimits) {
    coCoasterPieceStraight piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    piece.AdjustParamA(3.0f);
    EXPECT_EQ(piece.GetRunLength(), 13.0f);
    EXPECT_NEAR(piece.GetLength(), 13.0f, 1e-4f);
    piece.AdjustParamA(100.0f);
    EXPECT_EQ(piece.GetRunLength(), 40.0f);
    piece.AdjustParamA(-100.0f);
    EXPECT_EQ(piece.GetRunLength(), 5.0f);
    EXPECT_EQ(piece.GetParamANormalised(), 0.0f);

    piece.SetParamANormalised(0.5f);
    EXPECT_EQ(piece.GetRunLength(), 22.5f);
    EXPECT_EQ(piece.GetParamANormalised(), 0.5f);
    piece.SetParamANormalised(2.0f); // clamped
    EXPECT_EQ(piece.GetRunLength(), 40.0f);
    piece.SetParamANormalised(-1.0f);
    EXPECT_EQ(piece.GetRunLength(), 5.0f);

    // No parameter B.
    piece.AdjustParamB(1.0f);
    piece.SetParamBNormalised(1.0f);
    EXPECT_EQ(piece.GetParamBNormalised(), 0.0f);
    EXPECT_EQ(piece.GetRunLength(), 5.0f);

    // Dragging is not clamped: files and the closing fit may hold lengths outside the limits.
    maVector3d direction;
    float amount = 0.0f;
    piece.Place(maVector3d(0, 0, 0), maHalfPiF);
    ASSERT_TRUE(piece.GetDragHandle(direction, amount));
    ExpectVectorNear(direction, coForward(maHalfPiF), 0.0f);
    EXPECT_EQ(amount, 5.0f);
    piece.Drag(50.0f);
    EXPECT_EQ(piece.GetRunLength(), 55.0f);
    EXPECT_NEAR(piece.GetEnd().x, 55.0f, 1e-5f);
}

TEST(coCoasterPieceStraight, ReverseAndZeroLength) {
    coCoasterPieceStraight piece;
    piece.SetSlope(0.2f);
    piece.Place(maVector3d(1, 1, 1), 0.5f);
    const maVector3d end = piece.GetEnd();
    piece.Reverse();
    ExpectVectorNear(piece.GetStart(), end, 1e-6f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(1, 1, 1), 1e-5f);
    EXPECT_EQ(piece.GetSlope(0), -0.2f);

    // A zero length is a point: finite frames and fractions, no NaN.
    piece.SetRunLength(0.0f);
    piece.Build();
    EXPECT_EQ(piece.GetLength(), 0.0f);
    for (float s : {0.0f, 0.5f, 1.0f}) {
        const maMatrix4d frame = piece.FrameAt(s);
        for (float element : frame.m)
            EXPECT_TRUE(std::isfinite(element));
    }
    maVector3d direction;
    float amount = 0.0f;
    EXPECT_TRUE(piece.GetDragHandle(direction, amount));
    EXPECT_EQ(amount, 0.0f);
}
