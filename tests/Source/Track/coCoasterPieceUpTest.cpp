#include "Source/Track/coCoasterPieceUp.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"

#include "Source/Track/coTrackTestSupport.h"

#include <limits>
#include <tuple>

TEST(coCoasterPieceUp, ClimbsOrDropsAQuarterTurnFromItsSlopeAndRunsOnWhenReversed) {
    coCoasterPieceUp piece;
    piece.Place(maVector3d(1, 2, 3), 0.6f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(1, 32, 3), 1e-5f);
    maVector3d direction;
    piece.PointAt(0.0f, &direction);
    ExpectVectorNear(direction, maVector3d(0, 1, 0), 1e-6f);
    EXPECT_EQ(std::tuple(piece.GetSlope(1), piece.GetEndHeading()), std::tuple(maHalfPiF, 0.6f));
    piece.SetDown(true);
    piece.Build();
    ExpectVectorNear(piece.GetEnd(), maVector3d(1, -28, 3), 1e-5f);
    EXPECT_EQ(piece.GetSlope(0), -maHalfPiF);

    // A sloped climb leans back by its slope: pitch 90 + 30 degrees.
    piece.SetDown(false);
    piece.SetHeading(0.0f);
    piece.SetSlope(coDegrees(30.0f));
    ExpectVectorNear(piece.GetEnd(), maVector3d(1, 2 + 30 * std::sin(coDegrees(120.0f)), 3 - 15), 1e-4f);

    // Reversed it starts at its old end and keeps climbing the same way.
    const maVector3d start = piece.GetStart(), end = piece.GetEnd();
    piece.Reverse();
    EXPECT_FALSE(piece.IsDown());
    ExpectVectorNear(piece.GetStart(), end, 1e-6f);
    ExpectVectorNear(piece.GetEnd(), end + (end - start), 1e-4f);
}

TEST(coCoasterPieceUp, AngleTurnsTheFrameNotTheCentreLine) {
    coCoasterPieceUp piece;
    EXPECT_TRUE(piece.SetAngle(maHalfPiF));
    for (float refused : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
        EXPECT_FALSE(piece.SetAngle(refused));
    EXPECT_EQ(piece.GetAngle(), maHalfPiF);
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    // Vertical: the side turns from N(0) to N(pi/2) about the run.
    EXPECT_EQ(piece.GetEndHeading(), maHalfPiF);
    ExpectVectorNear(coFrameRow(piece.FrameAt(1.0f), 0), coSide(maHalfPiF), 1e-5f);

    // Pitched, a turned side would lean into the run; the frame stays orthonormal and right-handed.
    piece.SetSlope(coDegrees(40.0f));
    piece.SetRoll(0.7f);
    piece.Build();
    ExpectSoundFrames(piece);
}
