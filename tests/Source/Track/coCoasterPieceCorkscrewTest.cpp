#include "Source/Track/coCoasterPieceCorkscrew.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPieceCustom.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coPieceLimits.h"

#include "Source/Track/coTrackTestSupport.h"

#include <array>
#include <limits>
#include <tuple>

namespace {
// Opens the centre-line function to the tests, which check the curve by its own parameter.
class coTestCorkscrew : public coCoasterPieceCorkscrew {
  public:
    using coCoasterPieceCorkscrew::Evaluate;
};

// Distance of the curve at t from the roll's axis of a corkscrew built at its current start.
float FromAxis(const coTestCorkscrew& piece, float t) {
    const maVector3d axis = coForward(piece.GetHeading() + piece.GetApproachAngle());
    const maVector3d fromAxis =
        piece.Evaluate(t, nullptr) - (piece.GetStart() + maVector3d(0, piece.GetRadius(), 0));
    return (fromAxis - axis * maDot(fromAxis, axis)).Length();
}

// The curve keeps the helix's radius 6 from t0 to t1.
void ExpectHelix(const coTestCorkscrew& piece, float t0, float t1) {
    for (float t = t0; t <= t1; t += 0.05f)
        EXPECT_NEAR(FromAxis(piece, t), 6.0f, 1e-4f) << t;
}
} // namespace

TEST(coCoasterPieceCorkscrew, LoneDefaultEndsAndHelixNumbers) {
    coTestCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(15.0f, 0.0f, 25.98076f), 1e-4f);
    EXPECT_EQ(piece.GetEndHeading(), 0.0f);
    ExpectVectorNear(piece.GetHelixStart(), maVector3d(-1.446f, 6.0f, 9.495f), 1e-3f);
    ExpectVectorNear(piece.GetHelixEnd(), maVector3d(16.446f, 6.0f, 16.486f), 1e-3f);
    // The helix runs from t = 0.25 to t = 0.75, half a turn over the top of the axis; the entry and exit
    // curves leave the axis' radius.
    ExpectVectorNear(piece.Evaluate(0.25f, nullptr), piece.GetHelixStart(), 1e-5f);
    ExpectVectorNear(piece.Evaluate(0.75f, nullptr), piece.GetHelixEnd(), 1e-5f);
    ExpectVectorNear(piece.Evaluate(0.5f, nullptr), maVector3d(7.5f, 12.0f, 12.990381f), 1e-4f);
    ExpectHelix(piece, 0.25f, 0.75f);
    EXPECT_GT(std::fabs(FromAxis(piece, 0.1f) - 6.0f), 0.1f);
    EXPECT_GT(std::fabs(FromAxis(piece, 0.9f) - 6.0f), 0.1f);
    // Level at both ends; at the top of the roll the rider hangs upside down.
    ExpectVectorNear(coFrameRow(piece.FrameAt(0.0f), 1), maVector3d(0, 1, 0), 1e-5f);
    ExpectVectorNear(coFrameRow(piece.FrameAt(1.0f), 1), maVector3d(0, 1, 0), 1e-5f);
    EXPECT_LT(coFrameRow(piece.FrameAt(0.5f), 1).y, -0.9f);

    // A negative approach angle mirrors the whole curve.
    coTestCorkscrew left;
    EXPECT_TRUE(left.SetApproachAngle(coDegrees(-30.0f)));
    left.Place(maVector3d(0, 0, 0), 0.0f);
    for (float t = 0.0f; t <= 1.0f; t += 0.05f) {
        const maVector3d r = piece.Evaluate(t, nullptr);
        ExpectVectorNear(left.Evaluate(t, nullptr), maVector3d(-r.x, r.y, r.z), 1e-4f);
    }
}

TEST(coCoasterPieceCorkscrew, ChainedCorkscrewsDropTheirJoiningCurves) {
    coTestCorkscrew first, second;
    coLinkPieces({&first, &second});
    // The first: helix from t = 0.25 to its end; the second from its start to t = 0.75.
    ExpectVectorNear(first.GetHelixEnd(), first.GetEnd(), 1e-4f);
    ExpectHelix(first, 0.25f, 1.0f);
    ExpectVectorNear(second.GetHelixStart(), second.GetStart(), 1e-4f);
    ExpectHelix(second, 0.0f, 0.75f);
    // One axis, so the roll goes on through the joint without a kink.
    maVector3d endTangent, startTangent;
    ExpectVectorNear(first.PointAt(1.0f, &endTangent), second.PointAt(0.0f, &startTangent), 1e-4f);
    ExpectVectorNear(endTangent, startTangent, 1e-3f);

    // Between two corkscrews the helix takes the whole length and one full turn from the bottom.
    coTestCorkscrew a, middle, b;
    coLinkPieces({&a, &middle, &b});
    ExpectHelix(middle, 0.0f, 1.0f);
    const maVector3d top = middle.GetStart() + coForward(coDegrees(30.0f)) * 15.0f + maVector3d(0, 12, 0);
    ExpectVectorNear(middle.Evaluate(0.5f, nullptr), top, 1e-4f);
    ExpectSoundFrames(middle, 1e-4f);
}

TEST(coCoasterPieceCorkscrew, NeighbourChangesRebuildWithoutAnExplicitBuild) {
    coTestCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    const float loneLength = piece.GetLength();

    // Link a corkscrew after it as the circuit does: only the new piece is placed.
    coTestCorkscrew next;
    piece.SetNext(&next);
    next.Place(piece.GetEnd(), piece.GetEndHeading(), &piece);
    EXPECT_NEAR(FromAxis(piece, 0.9f), 6.0f, 1e-4f);
    // The lazily rebuilt piece matches one built with the neighbour in place, table and frames alike.
    coTestCorkscrew twin;
    twin.SetNext(&next);
    twin.Place(maVector3d(0, 0, 0), 0.0f);
    EXPECT_EQ(piece.GetLength(), twin.GetLength());
    for (float s = 0.0f; s <= 1.0f; s += 0.125f)
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(piece.FrameAt(s).m[i], twin.FrameAt(s).m[i]) << s;

    // A frame query alone notices the neighbour going away, and the exit curve comes back; a neighbour of
    // another class changes nothing.
    piece.SetNext(nullptr);
    ExpectSoundFrame(piece.FrameAt(0.9f), 1e-4f);
    EXPECT_EQ(piece.GetLength(), loneLength);
    coTestLinePiece line;
    piece.SetNext(&line);
    EXPECT_EQ(piece.GetLength(), loneLength);
    EXPECT_GT(std::fabs(FromAxis(piece, 0.9f) - 6.0f), 0.1f);
}

TEST(coCoasterPieceCorkscrew, AnglesFromOutsideAreWrappedOrRefused) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    coCoasterPieceCorkscrew piece;
    EXPECT_TRUE(piece.SetApproachAngle(coDegrees(30.0f) + 2.0f * maTwoPiF));
    EXPECT_NEAR(piece.GetApproachAngle(), coDegrees(30.0f), 1e-5f);
    for (float refused : {inf, nan})
        EXPECT_FALSE(piece.SetApproachAngle(refused)) << refused;
    EXPECT_NEAR(piece.GetApproachAngle(), coDegrees(30.0f), 1e-5f);
    EXPECT_TRUE(piece.SetApproachAngle(maPiF));
    EXPECT_EQ(piece.GetApproachAngle(), maPiF);

    // The half corkscrew's largest angle lies just above pi in float and is kept as it is; sizes outside
    // its parameter range are refused. A negative angle grows its magnitude and stays negative.
    coCoasterPieceHalfCorkscrew half;
    ASSERT_TRUE(half.SetAngle(GetHalfCorkscrewAngleMax()));
    EXPECT_EQ(half.GetAngle(), GetHalfCorkscrewAngleMax());
    for (float outside : {-inf, nan, 0.0f, coDegrees(0.00005f), 3.2f, -3.2f})
        EXPECT_FALSE(half.SetAngle(outside)) << outside;
    EXPECT_EQ(half.GetAngle(), GetHalfCorkscrewAngleMax());
    ASSERT_TRUE(half.SetAngle(coDegrees(-90.0f)));
    half.AdjustParamB(1.0f);
    EXPECT_FLOAT_EQ(half.GetAngle(), coDegrees(-95.0f));
    half.AdjustParamB(-100.0f);
    EXPECT_FLOAT_EQ(half.GetAngle(), coDegrees(-0.0001f));
}

TEST(coCoasterPieceHalfCorkscrew, DefaultEndsUpsideDownTurnedAndRaised) {
    coCoasterPieceHalfCorkscrew piece, down;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(12, 12, 12), 1e-5f);
    EXPECT_FLOAT_EQ(piece.GetEndHeading(), maHalfPiF);
    // At the end the rider is upside down, the side reversed.
    const maMatrix4d end = piece.FrameAt(1.0f);
    const maVector3d rows[3] = {maVector3d(0, 0, 1), maVector3d(0, -1, 0), maVector3d(1, 0, 0)};
    for (int row = 0; row < 3; ++row)
        ExpectVectorNear(coFrameRow(end, row), rows[row], 1e-5f);
    // Only atEnd 1 is the end.
    piece.SetRoll(0.25f);
    EXPECT_EQ(std::tuple(piece.GetRoll(1), piece.GetRoll(2)), std::tuple(0.25f + maPiF, 0.25f));
    piece.SetRoll(0.0f);

    down.SetDownward(true);
    down.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(down.GetEnd(), maVector3d(12, -12, 12), 1e-5f);
    ExpectVectorNear(coFrameRow(down.FrameAt(1.0f), 1), maVector3d(0, -1, 0), 1e-5f);
    // Upward and downward roll over opposite shoulders: half way the sides tilt opposite ways.
    EXPECT_LT(coFrameRow(piece.FrameAt(0.5f), 0).y * coFrameRow(down.FrameAt(0.5f), 0).y, 0.0f);
    piece.SetParamANormalised(0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(5, 5, 5), 1e-5f);
}

TEST(coCoasterPieceHalfCorkscrew, ReverseRunsTheSameCurveBackwards) {
    for (int c = 0; c < 32; ++c) {
        const bool downward = c & 1;
        const float angle =
            std::array{coDegrees(0.0001f), coDegrees(90.0f), coDegrees(180.0f), coDegrees(-60.0f)}[c / 2 % 4];
        const float slope = c & 8 ? 0.4f : -0.4f, roll = c & 16 ? -maPiF : 0.5f;
        SCOPED_TRACE(testing::Message()
                     << "down " << downward << " angle " << angle << " slope " << slope << " roll " << roll);
        coCoasterPieceHalfCorkscrew piece;
        piece.SetDownward(downward);
        ASSERT_TRUE(piece.SetAngle(angle));
        piece.SetRadius(7.0f);
        piece.SetRoll(roll);
        piece.SetSlope(slope);
        piece.Place(maVector3d(1, 2, 3), 0.3f);
        maVector3d before[9];
        for (int i = 0; i <= 8; ++i)
            before[i] = piece.PointAt(static_cast<float>(i) / 8.0f);
        const float endRoll = piece.GetRoll(1);

        piece.Reverse();
        ExpectVectorNear(piece.GetEnd(), maVector3d(1, 2, 3), 1e-4f);
        for (int i = 0; i <= 8; ++i)
            ExpectVectorNear(piece.PointAt(static_cast<float>(8 - i) / 8.0f), before[i], 2e-3f);
        EXPECT_NEAR(coRollDifference(piece.GetRoll(0), -endRoll), 0.0f, 1e-5f);
    }
}

TEST(coCoasterPieceCorkscrew, ChainsMeetInPointAndFrameAtEveryJoint) {
    // Blending pieces (modes 1 and 2): the rider's frame carries on through each joint, also where the
    // half corkscrew hands its upside-down end to the next piece.
    for (int c = 0; c < 144; ++c) {
        const int mode = 1 + c % 2;
        const float slope = std::array{-0.5f, 0.0f, 0.3f}[c / 2 % 3], roll = c / 6 % 2 ? -3.0f : 0.0f;
        const float approach = c / 12 % 2 ? 0.5f : -0.5f, angle = std::array{0.3f, 3.0f, -1.0f}[c / 48];
        const bool downward = c / 24 % 2;
        SCOPED_TRACE(testing::Message()
                     << "mode " << mode << " slope " << slope << " roll " << roll << " approach " << approach
                     << " downward " << downward << " angle " << angle);
        coCoasterPieceStraight straight;
        coCoasterPieceCorkscrew first, second;
        coCoasterPieceHalfCorkscrew half;
        coCoasterPieceCustom custom;
        coCoasterPieceTurn turn;
        ASSERT_TRUE(custom.SetPoints(
            {{maVector3d(0, 0, 0), 0.0f, 0.0f, 1.0f, 0.0f}, {maVector3d(3, 2, 15), 0.2f, 0.3f, 1.0f, 0.2f}}));
        ASSERT_TRUE(first.SetApproachAngle(approach));
        ASSERT_TRUE(second.SetApproachAngle(approach));
        half.SetDownward(downward);
        ASSERT_TRUE(half.SetAngle(angle));
        const std::vector<coCoasterPiece*> chain{&straight, &first, &second, &half, &custom, &turn};
        for (coCoasterPiece* piece : chain) {
            piece->SetRollBlend(mode);
            piece->SetSlope(slope);
            piece->SetRoll(roll);
        }
        coLinkPieces({&straight, &first, &second, &half, &custom, &turn});
        for (size_t i = 0; i + 1 < chain.size(); ++i)
            for (int row = 0; row < 4; ++row)
                ExpectVectorNear(coFrameRow(chain[i]->FrameAt(1.0f), row),
                                 coFrameRow(chain[i + 1]->FrameAt(0.0f), row), 1e-4f);
        for (coCoasterPiece* piece : chain)
            ExpectSoundFrames(*piece, 1e-4f, 8);
    }
}
