#include "Source/Track/coRollBlend.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coSlopeBlend.h"

#include "coTrackTestSupport.h"

namespace {
class coCappedLinePiece : public coTestLinePiece {
  public:
    int GetMaxRollBlendMode() const override { return 1; }
};
} // namespace

TEST(coRollBlend, BlendWidthFollowsModeCapAndFirstPiece) {
    coTestLinePiece piece;
    coCappedLinePiece capped;
    const struct {
        coCoasterPiece* piece;
        int mode;
        float width, expected;
    } cases[] = {
        {&piece, 2, 0.3f, 0.5f}, {&piece, 1, 0.2f, 0.2f}, {&piece, 0, 0.3f, 0.0f}, {&capped, 2, 0.3f, 0.3f}};
    for (const auto& c : cases) {
        c.piece->SetRollBlend(c.mode);
        EXPECT_EQ(BlendWidth(*c.piece, c.width), c.expected) << c.mode;
    }
    // The circuit's first piece blends as mode 1 whatever its field says.
    auto& pieces = coCircuitPieces();
    pieces.push_back(std::make_unique<coTestLinePiece>());
    for (int mode : {0, 2}) {
        pieces[0]->SetRollBlend(mode);
        EXPECT_EQ(BlendWidth(*pieces[0], 0.3f), 0.3f) << mode;
    }
    pieces.clear();
}

TEST(coRollBlend, RollsMeetAtTheJointTheShortWayRound) {
    coTestLinePiece a(20.0f), b(20.0f);
    coLinkPieces({&a, &b});
    a.SetRoll(0.2f);
    b.SetRoll(0.6f);
    EXPECT_NEAR(RollAt(a, 1.0f), 0.4f, 1e-6f);
    EXPECT_NEAR(RollAt(b, 0.0f), 0.4f, 1e-6f);
    EXPECT_EQ(RollAt(a, 0.5f), 0.2f); // 0.5 belongs to neither zone
    EXPECT_NEAR(RollAt(b, 0.25f), 0.5f, 1e-6f);
    EXPECT_EQ(RollAt(a, 0.0f), 0.2f); // no previous piece

    // Unequal spans: the joint value is weighted by the zone lengths.
    coTestLinePiece c(10.0f), d(30.0f);
    coLinkPieces({&c, &d});
    d.SetRoll(0.8f);
    EXPECT_NEAR(RollAt(c, 1.0f), 0.8f * 0.25f, 1e-6f);
    // 170 and -170 degrees blend through 180, not through 0.
    c.SetRoll(coDegrees(170.0f));
    d.SetRoll(coDegrees(-170.0f));
    EXPECT_NEAR(RollAt(c, 1.0f), coDegrees(175.0f), 1e-5f);
    EXPECT_NEAR(coRollDifference(RollAt(d, 0.0f), coDegrees(175.0f)), 0.0f, 1e-5f);
    EXPECT_GT(std::fabs(RollAt(d, 0.1f)), coDegrees(170.0f));

    // Mode 0: the roll is the piece's own over its whole length; its neighbour takes the whole blend.
    b.SetRollBlend(0);
    for (float s : {0.0f, 0.01f, 0.5f, 1.0f})
        EXPECT_EQ(RollAt(b, s), 0.6f);
    EXPECT_EQ(RollAt(a, 1.0f), 0.6f);
    EXPECT_NEAR(RollAt(a, 0.75f), 0.4f, 1e-6f);

    // A piece that twists along its length is compared by its end roll, and answers its base roll:
    // its own twist comes on top.
    a.endRollOffset = 0.4f;
    EXPECT_EQ(RollAt(a, 1.0f), 0.2f);
    EXPECT_EQ(RollAt(b, 0.0f), 0.6f);
}

TEST(coRollBlend, ZeroSpanPiecesStayFiniteAndContinuous) {
    for (int modes = 0; modes < 9; ++modes) {
        coTestLinePiece a(0.0f), b(0.0f), c(10.0f);
        a.SetRollBlend(modes % 3);
        b.SetRollBlend(modes / 3);
        a.SetRoll(0.5f);
        b.SetRoll(-0.5f);
        b.SetSlope(0.4f);
        coLinkPieces({&a, &b, &c});
        SCOPED_TRACE(testing::Message() << "modes " << modes);
        for (const coCoasterPiece* piece : {&a, &b}) {
            for (float s : {0.0f, 0.1f, 0.5f, 0.9f, 1.0f})
                EXPECT_FALSE(std::isnan(RollAt(*piece, s)));
            ExpectFiniteFrames(*piece, 10);
        }
        ExpectContinuousJoints({&a, &b, &c});
    }
}

TEST(coSlopeBlend, FilletBendsTheJointSmoothlyAndEqualSlopesNeedNone) {
    coTestLinePiece a(20.0f), b(20.0f);
    a.SetSlope(0.3f);
    b.SetSlope(0.3f);
    coLinkPieces({&a, &b});
    for (float s = 0.0f; s <= 1.0f; s += 0.05f)
        EXPECT_NEAR(VerticalProfileOffset(a, s, nullptr).y, 0.0f, 1e-5f) << s;

    a.SetSlope(-0.4f);
    b.SetSlope(0.4f);
    coLinkPieces({&a, &b});
    // The joint rises above the corner of the two lines, and both sides meet in one point and direction.
    maVector3d endDir, startDir;
    const maVector3d endPoint = a.PointAt(1.0f, &endDir);
    EXPECT_GT(endPoint.y, a.GetEnd().y + 0.1f);
    ExpectVectorNear(endPoint, b.PointAt(0.0f, &startDir), 1e-5f);
    ExpectVectorNear(endDir, startDir, 1e-5f);
    EXPECT_NEAR(endDir.y, 0.0f, 1e-5f); // symmetric: level at the joint
    // Outside the zones the pieces run on their own lines; at the zone's edge the fillet meets them.
    EXPECT_EQ(VerticalProfileOffset(a, 0.5f, nullptr).y, 0.0f);
    EXPECT_NEAR(VerticalProfileOffset(a, 0.5f + 1e-4f, nullptr).y, 0.0f, 1e-3f);
    EXPECT_NEAR(VerticalProfileOffset(b, 0.4999f, nullptr).y, 0.0f, 1e-3f);
    // Pieces that are not sloped lines read the same joint value and direction from either side.
    maVector2d tangent, jointTangent;
    const maVector2d start = VerticalProfileOffset(b, 0.0f, &tangent);
    EXPECT_EQ(EndBlendOffset(b, 0, &jointTangent).y, start.y);
    EXPECT_EQ(jointTangent.y, tangent.y);
    EXPECT_NEAR(EndBlendOffset(a, 1, &jointTangent).y, start.y, 1e-5f);
    EXPECT_NEAR(jointTangent.y / jointTangent.x, tangent.y / tangent.x, 1e-5f);
}

TEST(coSlopeBlend, SteepJointsUseTheFallbackFillet) {
    coTestLinePiece a(20.0f), b(20.0f);
    a.SetSlope(coDegrees(80.0f));
    coLinkPieces({&a, &b});
    EXPECT_FALSE(coSlopeBlendAllowed(a, 1));
    EXPECT_FALSE(coSlopeBlendAllowed(b, 0));
    EXPECT_TRUE(coSlopeBlendAllowed(b, 1));
    maVector2d offset;
    EXPECT_FALSE(SlopeBlendOffset(b, 0, 0.1f, nullptr, offset));

    // The fallback moves the joint along the travel direction too, identically from both sides.
    maVector2d endTangent, startTangent;
    EXPECT_NE(VerticalProfileOffset(a, 1.0f, &endTangent).x, 0.0f);
    const maVector2d fromB = VerticalProfileOffset(b, 0.0f, &startTangent);
    EXPECT_NEAR(a.PointAt(1.0f).y, b.PointAt(0.0f).y, 1e-4f);
    EXPECT_NEAR(endTangent.x, startTangent.x, 1e-6f);
    EXPECT_NEAR(endTangent.y, startTangent.y, 1e-6f);
    // At the zone's inner edge the fallback offset is 0.
    const maVector2d edge = VerticalProfileOffset(b, 0.5f - 1e-6f, nullptr);
    EXPECT_NEAR(edge.x, 0.0f, 1e-3f);
    EXPECT_NEAR(edge.y, 0.0f, 1e-3f);

    // The joint offsets for curved pieces: at the joint with a neighbour, and level without one.
    maVector2d direction;
    const maVector2d joint = EndBlendOffset(b, 0, &direction);
    EXPECT_NEAR(joint.x, fromB.x, 1e-5f);
    EXPECT_NEAR(joint.y, fromB.y, 1e-5f);
    const maVector2d alone = EndBlendOffset(b, 1, &direction);
    EXPECT_EQ(alone.y, 0.0f);
    EXPECT_EQ(direction.x, 1.0f);
    // A piece that does not blend keeps its own direction at the joint, not a zero one.
    b.SetRollBlend(0);
    EndBlendOffset(b, 0, &direction);
    EXPECT_NEAR(direction.x, 1.0f, 1e-6f);
    EXPECT_NEAR(direction.y, 0.0f, 1e-6f);
}

TEST(coSlopeBlend, QuadraticHelpersWithoutExtentGiveNoNaN) {
    const maVector2d a(-1.0f, -1.0f), b(1.0f, 1.0f), zero(0.0f, 0.0f);
    // x(u) = 2u - 1 here, so the parameter equals the fraction of the extent, clamped to 1.
    for (float f : {0.0f, 0.1f, 0.5f, 0.93f})
        EXPECT_NEAR(QuadParamAtX(a, b, f), f, 1e-6f);
    EXPECT_EQ(QuadParamAtX(a, b, 1.5f), 1.0f);
    // No horizontal extent: a linear map and a zero tangent, not NaN.
    EXPECT_NEAR(QuadParamAtX(zero, zero, 0.3f), 0.3f, 1e-6f);
    EXPECT_EQ(QuadTangent(zero, zero, 0.3f).x, 0.0f);
}
