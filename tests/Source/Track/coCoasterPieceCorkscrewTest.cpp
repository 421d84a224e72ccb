#include "Source/Track/coCoasterPieceCorkscrew.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPieceCustom.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coPieceLimits.h"

#include "coTrackTestSupport.h"

#include <limits>

namespace {
// Opens the centre-line function to the tests, which check the curve by its own parameter.
class coTestCorkscrew : public coCoasterPieceCorkscrew {
  public:
    using coCoasterPieceCorkscrew::Evaluate;
};

class coTestHalfCorkscrew : public coCoasterPieceHalfCorkscrew {
  public:
    using coCoasterPieceHalfCorkscrew::Evaluate;
};

// Distance of a point from the roll's axis of a corkscrew built at its current start.
float DistanceFromAxis(const coCoasterPieceCorkscrew& piece, const maVector3d& point) {
    const maVector3d axis = coForward(piece.GetHeading() + piece.GetApproachAngle());
    const maVector3d fromAxis = point - (piece.GetStart() + maVector3d(0, piece.GetRadius(), 0));
    return (fromAxis - axis * maDot(fromAxis, axis)).Length();
}
} // namespace

TEST(coCoasterPieceCorkscrew, LoneDefaultEndsAndHelixNumbers) {
    coTestCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(15.0f, 0.0f, 25.98076f), 1e-4f);
    EXPECT_EQ(piece.GetEndHeading(), 0.0f);
    EXPECT_EQ(piece.GetSpan(), 30.0f);
    ExpectVectorNear(piece.GetHelixStart(), maVector3d(-1.446f, 6.0f, 9.495f), 1e-3f);
    ExpectVectorNear(piece.GetHelixEnd(), maVector3d(16.446f, 6.0f, 16.486f), 1e-3f);

    // The helix runs from t = 0.25 to t = 0.75, half a turn over the top of the axis.
    ExpectVectorNear(piece.Evaluate(0.25f, nullptr), piece.GetHelixStart(), 1e-5f);
    ExpectVectorNear(piece.Evaluate(0.75f, nullptr), piece.GetHelixEnd(), 1e-5f);
    ExpectVectorNear(piece.Evaluate(0.5f, nullptr), maVector3d(7.5f, 12.0f, 12.990381f), 1e-4f);
    for (float t = 0.25f; t <= 0.75f; t += 0.05f)
        EXPECT_NEAR(DistanceFromAxis(piece, piece.Evaluate(t, nullptr)), 6.0f, 1e-4f) << t;
    // The entry and exit curves leave the axis' radius.
    EXPECT_GT(std::fabs(DistanceFromAxis(piece, piece.Evaluate(0.1f, nullptr)) - 6.0f), 0.1f);
    EXPECT_GT(std::fabs(DistanceFromAxis(piece, piece.Evaluate(0.9f, nullptr)) - 6.0f), 0.1f);

    ExpectVectorNear(piece.PointAt(0.0f), maVector3d(0, 0, 0), 1e-6f);
    ExpectVectorNear(piece.PointAt(1.0f), piece.GetEnd(), 1e-4f);
    // Level at both ends: the frame there is the flat track's.
    const maMatrix4d start = piece.FrameAt(0.0f);
    ExpectVectorNear(coFrameRow(start, 0), maVector3d(1, 0, 0), 1e-5f);
    ExpectVectorNear(coFrameRow(start, 1), maVector3d(0, 1, 0), 1e-5f);
    ExpectVectorNear(coFrameRow(start, 2), maVector3d(0, 0, 1), 1e-5f);
    ExpectVectorNear(coFrameRow(piece.FrameAt(1.0f), 1), maVector3d(0, 1, 0), 1e-5f);
    // At the top of the roll the rider hangs upside down, head towards the axis.
    const maMatrix4d top = piece.FrameAt(0.5f);
    EXPECT_LT(coFrameRow(top, 1).y, -0.9f);
    const maVector3d towardsAxis = piece.GetStart() + maVector3d(0, 6, 0) +
                                   coForward(coDegrees(30.0f)) * 15.0f -
                                   maVector3d(top.m[12], top.m[13], top.m[14]);
    EXPECT_GT(maDot(coFrameRow(top, 1), towardsAxis), 0.0f);
}

TEST(coCoasterPieceCorkscrew, ChainedCorkscrewsDropTheirJoiningCurves) {
    coTestCorkscrew first;
    coTestCorkscrew second;
    coLinkPieces({&first, &second});

    // The first: helix from t = 0.25 to its end, from the side of the axis through 3 pi / 2 to the bottom.
    ExpectVectorNear(first.GetHelixEnd(), first.GetEnd(), 1e-4f);
    for (float t = 0.25f; t <= 1.0f; t += 0.05f)
        EXPECT_NEAR(DistanceFromAxis(first, first.Evaluate(t, nullptr)), 6.0f, 1e-4f) << t;
    // The second: helix from its start at the bottom to t = 0.75.
    ExpectVectorNear(second.GetHelixStart(), second.GetStart(), 1e-4f);
    for (float t = 0.0f; t <= 0.75f; t += 0.05f)
        EXPECT_NEAR(DistanceFromAxis(second, second.Evaluate(t, nullptr)), 6.0f, 1e-4f) << t;
    // One axis, so the roll goes on through the joint without a kink.
    maVector3d endTangent;
    maVector3d startTangent;
    ExpectVectorNear(first.PointAt(1.0f, &endTangent), second.PointAt(0.0f, &startTangent), 1e-4f);
    ExpectVectorNear(endTangent, startTangent, 1e-3f);

    // Between two corkscrews the helix takes the whole length and one full turn from the bottom.
    coTestCorkscrew a;
    coTestCorkscrew middle;
    coTestCorkscrew b;
    coLinkPieces({&a, &middle, &b});
    ExpectVectorNear(middle.GetHelixStart(), middle.GetStart(), 1e-4f);
    ExpectVectorNear(middle.GetHelixEnd(), middle.GetEnd(), 1e-4f);
    const maVector3d top = middle.GetStart() + coForward(coDegrees(30.0f)) * 15.0f + maVector3d(0, 12, 0);
    ExpectVectorNear(middle.Evaluate(0.5f, nullptr), top, 1e-4f);
    ExpectSoundFrames(middle, 1e-4f);
}

TEST(coCoasterPieceCorkscrew, NeighbourChangesRebuildWithoutAnExplicitBuild) {
    coTestCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    const float loneLength = piece.GetLength();
    EXPECT_GT(std::fabs(DistanceFromAxis(piece, piece.Evaluate(0.9f, nullptr)) - 6.0f), 0.1f);

    // Link a corkscrew after it as the circuit does: only the new piece is placed.
    coTestCorkscrew next;
    piece.SetNext(&next);
    next.Place(piece.GetEnd(), piece.GetEndHeading(), &piece);
    EXPECT_NEAR(DistanceFromAxis(piece, piece.Evaluate(0.9f, nullptr)), 6.0f, 1e-4f);
    ExpectVectorNear(piece.GetHelixEnd(), piece.GetEnd(), 1e-4f);

    // The lazily rebuilt piece matches one built with the neighbour in place, table and frames alike.
    coTestCorkscrew twin;
    twin.SetNext(&next);
    twin.Place(maVector3d(0, 0, 0), 0.0f);
    EXPECT_EQ(piece.GetLength(), twin.GetLength());
    EXPECT_NE(piece.GetLength(), loneLength);
    for (float s = 0.0f; s <= 1.0f; s += 0.125f) {
        const maMatrix4d a = piece.FrameAt(s);
        const maMatrix4d b = twin.FrameAt(s);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(a.m[i], b.m[i]) << s;
    }

    // A frame query alone notices the neighbour going away, and the exit curve comes back.
    piece.SetNext(nullptr);
    ExpectSoundFrame(piece.FrameAt(0.9f), 1e-4f);
    EXPECT_EQ(piece.GetLength(), loneLength);
    EXPECT_GT(std::fabs(DistanceFromAxis(piece, piece.Evaluate(0.9f, nullptr)) - 6.0f), 0.1f);

    // A neighbour of another class changes nothing.
    coTestLinePiece line;
    piece.SetNext(&line);
    EXPECT_EQ(piece.GetLength(), loneLength);
    EXPECT_GT(std::fabs(DistanceFromAxis(piece, piece.Evaluate(0.9f, nullptr)) - 6.0f), 0.1f);
}

TEST(coCoasterPieceCorkscrew, NegativeApproachAngleMirrorsTheRoll) {
    coTestCorkscrew right;
    coTestCorkscrew left;
    right.Place(maVector3d(0, 0, 0), 0.0f);
    EXPECT_TRUE(left.SetApproachAngle(coDegrees(-30.0f)));
    left.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(left.GetHelixStart(), maVector3d(1.446f, 6.0f, 9.495f), 1e-3f);
    ExpectVectorNear(left.GetEnd(), maVector3d(-15.0f, 0.0f, 25.98076f), 1e-4f);
    for (float t = 0.0f; t <= 1.0f; t += 0.05f) {
        const maVector3d r = right.Evaluate(t, nullptr);
        ExpectVectorNear(left.Evaluate(t, nullptr), maVector3d(-r.x, r.y, r.z), 1e-4f);
    }
}

TEST(coCoasterPieceCorkscrew, RevolutionsShapeNothingAndOutsideAnglesAreWrapped) {
    coCoasterPieceCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    const maVector3d before = piece.PointAt(0.4f);
    piece.SetRevolutions(3);
    piece.Build();
    EXPECT_EQ(piece.GetRevolutions(), 3);
    ExpectVectorNear(piece.PointAt(0.4f), before, 0.0f);

    // Angles from outside are wrapped; non-finite ones are refused and change nothing.
    EXPECT_TRUE(piece.SetApproachAngle(coDegrees(30.0f) + 2.0f * maTwoPiF));
    EXPECT_NEAR(piece.GetApproachAngle(), coDegrees(30.0f), 1e-5f);
    EXPECT_FALSE(piece.SetApproachAngle(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(piece.SetApproachAngle(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_NEAR(piece.GetApproachAngle(), coDegrees(30.0f), 1e-5f);
    EXPECT_TRUE(piece.SetApproachAngle(maPiF));
    EXPECT_EQ(piece.GetApproachAngle(), maPiF);
}

TEST(coCoasterPieceHalfCorkscrew, DefaultEndsUpsideDownTurnedAndRaised) {
    coTestHalfCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(12, 12, 12), 1e-5f);
    EXPECT_FLOAT_EQ(piece.GetEndHeading(), maHalfPiF);
    EXPECT_EQ(piece.GetSpan(), 24.0f);
    ExpectVectorNear(piece.PointAt(0.0f), maVector3d(0, 0, 0), 1e-6f);
    ExpectVectorNear(piece.PointAt(1.0f), piece.GetEnd(), 1e-5f);
    // The curve leaves along the heading and arrives along the turned one.
    maVector3d direction;
    piece.Evaluate(0.0f, &direction);
    ExpectVectorNear(direction, maVector3d(0, 0, 1), 1e-6f);
    piece.Evaluate(1.0f, &direction);
    ExpectVectorNear(direction, maVector3d(1, 0, 0), 1e-6f);

    // Only atEnd 1 is the end.
    piece.SetRoll(0.25f);
    EXPECT_EQ(piece.GetRoll(0), 0.25f);
    EXPECT_EQ(piece.GetRoll(1), 0.25f + maPiF);
    EXPECT_EQ(piece.GetRoll(2), 0.25f);
    piece.SetRoll(0.0f);

    // At the end the rider is upside down, the side reversed; at the start the flat frame.
    const maMatrix4d start = piece.FrameAt(0.0f);
    ExpectVectorNear(coFrameRow(start, 0), maVector3d(1, 0, 0), 1e-5f);
    ExpectVectorNear(coFrameRow(start, 1), maVector3d(0, 1, 0), 1e-5f);
    const maMatrix4d end = piece.FrameAt(1.0f);
    ExpectVectorNear(coFrameRow(end, 0), maVector3d(0, 0, 1), 1e-5f);
    ExpectVectorNear(coFrameRow(end, 1), maVector3d(0, -1, 0), 1e-5f);
    ExpectVectorNear(coFrameRow(end, 2), maVector3d(1, 0, 0), 1e-5f);

    coTestHalfCorkscrew down;
    down.SetDownward(true);
    down.Place(maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(down.GetEnd(), maVector3d(12, -12, 12), 1e-5f);
    ExpectVectorNear(coFrameRow(down.FrameAt(1.0f), 1), maVector3d(0, -1, 0), 1e-5f);
    // Upward and downward roll over opposite shoulders: half way the sides tilt opposite ways.
    EXPECT_LT(coFrameRow(piece.FrameAt(0.5f), 0).y * coFrameRow(down.FrameAt(0.5f), 0).y, 0.0f);
}

TEST(coCoasterPieceHalfCorkscrew, NegativeAnglesKeepTheirSign) {
    coCoasterPieceHalfCorkscrew piece;
    piece.Place(maVector3d(0, 0, 0), 0.0f);
    piece.SetParamANormalised(0.0f);
    ExpectVectorNear(piece.GetEnd(), maVector3d(5, 5, 5), 1e-5f);

    // A negative angle (only from a file) grows its magnitude and stays negative.
    ASSERT_TRUE(piece.SetAngle(coDegrees(-90.0f)));
    piece.AdjustParamB(1.0f);
    EXPECT_FLOAT_EQ(piece.GetAngle(), coDegrees(-95.0f));
    piece.AdjustParamB(-100.0f);
    EXPECT_FLOAT_EQ(piece.GetAngle(), coDegrees(-0.0001f));

    // The largest angle lies just above pi in float and is kept as it is; non-finite ones are refused.
    ASSERT_TRUE(piece.SetAngle(GetHalfCorkscrewAngleMax()));
    EXPECT_EQ(piece.GetAngle(), GetHalfCorkscrewAngleMax());
    EXPECT_FALSE(piece.SetAngle(-std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(piece.SetAngle(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(piece.GetAngle(), GetHalfCorkscrewAngleMax());
}

TEST(coCoasterPieceHalfCorkscrew, ReverseRunsTheSameCurveBackwards) {
    for (bool downward : {false, true})
        for (float angle : {coDegrees(0.0001f), coDegrees(90.0f), coDegrees(180.0f), coDegrees(-60.0f)})
            for (float slope : {-0.4f, 0.4f})
                for (float roll : {0.5f, -maPiF}) {
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
                    ExpectVectorNear(piece.GetStart(), before[8], 1e-5f);
                    ExpectVectorNear(piece.GetEnd(), maVector3d(1, 2, 3), 1e-4f);
                    for (int i = 0; i <= 8; ++i)
                        ExpectVectorNear(piece.PointAt(static_cast<float>(8 - i) / 8.0f), before[i], 2e-3f);
                    EXPECT_NEAR(coRollDifference(piece.GetRoll(0), -endRoll), 0.0f, 1e-5f);
                }
}

TEST(coCoasterPieceCorkscrew, ChainsMeetInPointAndFrameAtEveryJoint) {
    // Blending pieces (modes 1 and 2): the rider's frame carries on through each joint, also where the
    // half corkscrew hands its upside-down end to the next piece.
    for (int mode : {1, 2})
        for (float slope : {-0.5f, 0.0f, 0.3f})
            for (float roll : {0.0f, -3.0f})
                for (float approach : {-0.5f, 0.5f})
                    for (bool downward : {false, true})
                        for (float angle : {0.3f, 3.0f, -1.0f}) {
                            coCoasterPieceStraight straight;
                            coCoasterPieceCorkscrew first;
                            coCoasterPieceCorkscrew second;
                            coCoasterPieceHalfCorkscrew half;
                            coCoasterPieceCustom custom;
                            coCoasterPieceTurn turn;
                            ASSERT_TRUE(custom.SetPoints(
                                {coCustomPoint{maVector3d(0, 0, 0), 0.0f, 0.0f, 1.0f, 0.0f},
                                 coCustomPoint{maVector3d(3, 2, 15), 0.2f, 0.3f, 1.0f, 0.2f}}));
                            ASSERT_TRUE(first.SetApproachAngle(approach));
                            ASSERT_TRUE(second.SetApproachAngle(approach));
                            half.SetDownward(downward);
                            ASSERT_TRUE(half.SetAngle(angle));
                            const std::vector<coCoasterPiece*> chain{&straight, &first,  &second,
                                                                     &half,     &custom, &turn};
                            for (coCoasterPiece* piece : chain) {
                                piece->SetRollBlend(mode);
                                piece->SetSlope(slope);
                                piece->SetRoll(roll);
                            }
                            coLinkPieces({&straight, &first, &second, &half, &custom, &turn});
                            SCOPED_TRACE(testing::Message()
                                         << "mode " << mode << " slope " << slope << " roll " << roll
                                         << " approach " << approach << " downward " << downward << " angle "
                                         << angle);
                            for (size_t i = 0; i + 1 < chain.size(); ++i) {
                                const maMatrix4d end = chain[i]->FrameAt(1.0f);
                                const maMatrix4d start = chain[i + 1]->FrameAt(0.0f);
                                for (int row = 0; row < 4; ++row)
                                    ExpectVectorNear(coFrameRow(end, row), coFrameRow(start, row), 1e-4f);
                            }
                            for (coCoasterPiece* piece : chain)
                                ExpectSoundFrames(*piece, 1e-4f, 8);
                        }
}
