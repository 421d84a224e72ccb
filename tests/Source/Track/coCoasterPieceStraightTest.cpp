#include "Source/Track/coCoasterPieceStraight.h"

#include "Source/Track/coAngles.h"

#include "Source/Track/coTrackTestSupport.h"

TEST(coCoasterPieceStraight, EndAndSlopedLength) {
    coCoasterPieceStraight piece;
    piece.SetRunLength(20.0f);
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    // The last of the 20 samples falls at t = 0.99999982.
    EXPECT_FLOAT_EQ(piece.GetLength(), 19.999996f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(0, 0, 20), 0.0f);

    // Sloped: ends L tan s higher, its length is L / cos s, its span stays L.
    const float slope = coDegrees(30.0f);
    piece.SetSlope(slope);
    piece.Place(maVector3d(1, 2, 3), maHalfPiF);
    ExpectVectorNear(piece.GetEnd(), maVector3d(21, 2 + 20.0f * std::tan(slope), 3), 1e-5f);
    EXPECT_NEAR(piece.GetLength(), 20.0f / std::cos(slope), 1e-4f);
    EXPECT_EQ(piece.GetSpan(), 20.0f);
}

TEST(coCoasterPieceStraight, ZeroLengthIsAPointWithoutNaN) {
    coCoasterPieceStraight piece;
    piece.SetRunLength(0.0f);
    piece.SetSlope(0.2f);
    piece.Place(maVector3d(1, 1, 1), 0.5f);
    EXPECT_EQ(piece.GetLength(), 0.0f);
    ExpectFiniteFrames(piece);
}
