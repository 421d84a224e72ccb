#include "Source/Track/coCoasterPieceCustom.h"

#include "Engine/Core/Ma/maConstants.h"

#include "Source/Track/coTrackTestSupport.h"

#include <limits>
#include <tuple>
#include <vector>

namespace {
coCustomPoint Point(float x, float y, float z, float slope = 0.0f, float heading = 0.0f, float scale = 1.0f,
                    float roll = 0.0f) {
    return coCustomPoint{maVector3d(x, y, z), slope, heading, scale, roll};
}

// A climbing right-hand bend: three points, the middle one pitched up and banked.
std::vector<coCustomPoint> Bend() {
    return {Point(0, 0, 0), Point(5, 3, 15, 0.3f, 0.6f, 1.0f, 0.4f),
            Point(20, 4, 22, 0.0f, 1.4f, 0.8f, 0.1f)};
}
} // namespace

TEST(coCoasterPieceCustom, PointsAreLocalToThePieceAndTheLastGivesTheEndAttitude) {
    coCoasterPieceCustom piece;
    ASSERT_TRUE(piece.SetPoints({Point(0, 0, 0), Point(0, 0, 20, 0.0f, 0.0f, 1.0f, 0.5f)}));
    piece.Place(maVector3d(5, 1, 2), maHalfPiF);
    // Local +z runs along the heading.
    ExpectVectorNear(piece.GetEnd(), maVector3d(25, 1, 2), 1e-5f);
    EXPECT_FLOAT_EQ(piece.GetEndHeading(), maHalfPiF);
    ExpectVectorNear(piece.PointAt(0.5f), maVector3d(15, 1, 2), 1e-4f);
    EXPECT_NEAR(piece.GetLength(), 20.0f, 1e-3f);
    // The frame's bank follows the points' roll: at the end, the last point's.
    ExpectVectorNear(coFrameRow(piece.FrameAt(1.0f), 0), maVector3d(0, std::sin(0.5f), -std::cos(0.5f)),
                     1e-5f);

    piece.SetRoll(0.2f);
    piece.SetSlope(0.1f);
    ASSERT_TRUE(piece.SetPoints({Point(0, 0, 0), Point(0, 10, 10, 1.0f, 0.0f, 1.0f, 0.3f)}));
    EXPECT_FLOAT_EQ(piece.GetRoll(1), 0.2f + 0.3f);
    EXPECT_EQ(std::tuple(piece.GetRoll(2), piece.GetSlope(1), piece.GetSlope(0)),
              std::tuple(0.2f, 1.0f, 0.1f));
    // Pitched past a quarter turn the track is upside down there.
    ASSERT_TRUE(piece.SetPoints({Point(0, 0, 0), Point(0, 10, 10, 2.0f, 0.0f, 1.0f, 0.3f)}));
    EXPECT_FLOAT_EQ(piece.GetRoll(1), 0.2f + 0.3f + maPiF);
}

TEST(coCoasterPieceCustom, ZeroTangentScalesGiveTheStraightChord) {
    coCoasterPieceCustom piece;
    // The headings point elsewhere, but with tangent scale 0 they pull nowhere.
    ASSERT_TRUE(piece.SetPoints({Point(0, 0, 0, 0.0f, 1.0f, 0.0f), Point(10, 0, 10, 0.0f, -2.0f, 0.0f)}));
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    for (float s = 0.0f; s <= 1.0f; s += 0.125f) {
        const maVector3d p = piece.PointAt(s);
        EXPECT_NEAR(p.x, p.z, 1e-4f) << s;
        EXPECT_NEAR(p.y, 0.0f, 1e-6f) << s;
    }
    // The curve leaves its end along the chord, not along a vanished derivative.
    EXPECT_FLOAT_EQ(piece.GetEndHeading(), maPiF / 4.0f);
    ExpectSoundFrames(piece, 1e-4f, 8);
}

TEST(coCoasterPieceCustom, ReverseMovesToTheEndAndKeepsThePoints) {
    coCoasterPieceCustom piece;
    ASSERT_TRUE(piece.SetPoints(Bend()));
    piece.SetRoll(0.3f);
    piece.SetSlope(0.1f);
    piece.Place(maVector3d(1, 2, 3), 0.5f);
    const maVector3d end = piece.GetEnd();
    piece.Reverse();
    ExpectVectorNear(piece.GetStart(), end, 0.0f);
    EXPECT_EQ(std::tuple(piece.GetRoll(0), piece.GetBaseSlope()), std::tuple(0.3f, 0.1f));
    ASSERT_EQ(piece.GetPointCount(), 3);
    for (int i = 0; i < 3; ++i)
        ExpectVectorNear(piece.GetPoint(i).position, Bend()[i].position, 0.0f);
}

TEST(coCoasterPieceCustom, ShortOrNonFiniteListsAreRefused) {
    coCoasterPieceCustom piece;
    ASSERT_TRUE(piece.SetPoints(Bend()));
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    const maVector3d end = piece.GetEnd();
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::vector<coCustomPoint> refused[] = {
        {},
        {Point(0, 0, 0)},
        {Point(0, 0, 0), Point(0, nan, 10)},
        {Point(0, 0, 0), Point(0, 0, 10, inf)},
        {Point(0, 0, 0, 0.0f, nan)},
        {Point(0, 0, 0), Point(0, 0, 10, 0.0f, 0.0f, inf)},
        {Point(0, 0, 0), Point(0, 0, 10, 0.0f, 0.0f, 1.0f, -inf)},
        // More points than a track file can count would be saved with a wrapped count.
        std::vector<coCustomPoint>(coCoasterPieceCustom::kMaxPoints + 1, Point(0, 0, 0)),
    };
    for (const auto& points : refused)
        EXPECT_FALSE(piece.SetPoints(points)) << points.size();
    // The piece keeps its points and its shape.
    EXPECT_EQ(piece.GetPointCount(), 3);
    ExpectVectorNear(piece.GetEnd(), end, 0.0f);

    const maVector3d positions[3] = {maVector3d(0, 0, 0), maVector3d(5, 3, 15), maVector3d(20, 4, 22)};
    const float slopes[3] = {0.0f, 0.3f, 0.0f}, headings[3] = {0.0f, 0.6f, 1.4f};
    const float scales[3] = {1.0f, 1.0f, 0.8f}, rolls[3] = {0.0f, 0.4f, 0.1f};
    EXPECT_FALSE(piece.SetPointsFromArrays(-1, positions, slopes, headings, scales, rolls));
    EXPECT_FALSE(piece.SetPointsFromArrays(1, positions, slopes, headings, scales, rolls));
    EXPECT_FALSE(piece.SetPointsFromArrays(3, positions, nullptr, headings, scales, rolls));
    coCoasterPieceCustom fromArrays;
    ASSERT_TRUE(fromArrays.SetPointsFromArrays(3, positions, slopes, headings, scales, rolls));
    fromArrays.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(fromArrays.GetEnd(), end, 0.0f);
    EXPECT_EQ(fromArrays.GetLength(), piece.GetLength());
}

TEST(coCoasterPieceCustom, EmptyPieceEndsAtItsStart) {
    coCoasterPieceCustom piece;
    piece.Place(maVector3d(3, 4, 5), 1.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(3, 4, 5), 0.0f);
    EXPECT_EQ(std::tuple(piece.GetEndHeading(), piece.GetRoll(1), piece.GetSlope(1), piece.GetLength()),
              std::tuple(1.0f, 0.0f, 0.0f, 0.0f));
    ExpectVectorNear(piece.PointAt(0.5f), maVector3d(3, 4, 5), 0.0f);
    ExpectSoundFrames(piece, 1e-4f, 2);
    piece.Reverse();
    ExpectVectorNear(piece.GetStart(), maVector3d(3, 4, 5), 0.0f);

    // Clearing the points of a built piece leaves it empty too, its old length gone.
    ASSERT_TRUE(piece.SetPoints(Bend()));
    piece.ClearPoints();
    EXPECT_EQ(piece.GetLength(), 0.0f);
    ExpectVectorNear(piece.GetEnd(), piece.GetStart(), 0.0f);
}

TEST(coCoasterPieceCustom, FilletsAreSizedByThePiecesOwnLength) {
    // Given its points once linked after a climbing line, as the track-file reader's caller may do: the
    // first build starts from an empty piece's length of 0, and the fillet must not stay sized by it.
    coTestLinePiece line(20.0f);
    line.SetSlope(0.3f);
    coCoasterPieceCustom piece;
    coLinkPieces({&line, &piece});
    ASSERT_TRUE(piece.SetPoints({Point(0, 0, 0), Point(0, 0, 30)}));
    const float length = piece.GetLength();
    ExpectVectorNear(line.PointAt(1.0f), piece.PointAt(0.0f), 1e-4f);
    EXPECT_GT(piece.PointAt(0.1f).y, line.PointAt(1.0f).y);
    piece.Build();
    EXPECT_NEAR(piece.GetLength(), length, 1e-3f);
}
