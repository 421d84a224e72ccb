#include "Source/Track/coRollBlend.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coSlopeBlend.h"

#include "Source/Track/coTrackTestSupport.h"

#include <functional>
#include <iterator>
#include <tuple>
#include <vector>

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
    EXPECT_EQ(std::tuple(RollAt(a, 1.0f), RollAt(b, 0.0f)), std::tuple(0.2f, 0.6f));
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

TEST(coSlopeBlend, SteepJointsTakeTheFallbackAndJointOffsetsKeepADirection) {
    coTestLinePiece a(20.0f), b(20.0f);
    a.SetSlope(coDegrees(80.0f));
    coLinkPieces({&a, &b});
    EXPECT_EQ(std::tuple(coSlopeBlendAllowed(a, 1), coSlopeBlendAllowed(b, 0), coSlopeBlendAllowed(b, 1)),
              std::tuple(false, false, true));
    // The joint offsets for curved pieces: at the joint the fallback's, without a neighbour level.
    maVector2d direction;
    const maVector2d fromB = VerticalProfileOffset(b, 0.0f, nullptr);
    const maVector2d joint = EndBlendOffset(b, 0, &direction);
    EXPECT_NEAR(joint.x, fromB.x, 1e-5f);
    EXPECT_NEAR(joint.y, fromB.y, 1e-5f);
    EXPECT_EQ(EndBlendOffset(b, 1, &direction).y, 0.0f);
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

TEST(coSlopeBlend, UnevenFilletsInvertExactlyAndFallAsTheirTangentSays) {
    // The parameter found reaches the fraction of the extent asked for, however uneven the two sides.
    const maVector2d quads[][2] = {
        {{-3.46f, 2.0f}, {200.0f, 0.0f}}, {{-200.0f, 0.0f}, {3.46f, -2.0f}}, {{0.0f, 0.0f}, {5.0f, 1.0f}}};
    for (const auto& [a, b] : quads)
        for (float f : {0.0f, 0.01f, 0.3f, 0.77f, 1.0f})
            EXPECT_NEAR(QuadPoint(a, b, QuadParamAtX(a, b, f)).x, a.x + f * (b.x - a.x), 1e-5f * (b.x - a.x));
    // A drop of 30 degrees blending as mode 1 (3.46) into a run of 400 (200): the height's slope is the
    // tangent's.
    coTestLinePiece drop(17.32f), run(400.0f);
    drop.SetSlope(coDegrees(-30.0f));
    drop.SetRollBlend(1);
    coLinkPieces({&drop, &run});
    for (float s : {0.81f, 0.9f, 0.99f}) {
        maVector2d tangent;
        SlopeFilletHeight(drop, s, &tangent);
        const float h = 1e-3f;
        const float fall = SlopeFilletHeight(drop, s + h, nullptr) - SlopeFilletHeight(drop, s - h, nullptr);
        EXPECT_NEAR(fall / (2.0f * h * 17.32f), tangent.y / tangent.x, 1e-3f) << s;
    }
}

TEST(coFrozenTrack, KeptZonesFollowEveryChangeMadeInsideTheScope) {
    // Each change is made under a frozen track after the pieces have kept their zones; the frames read
    // then must be the ones that a loose track gives, to the bit.
    using Chain = coCoasterPieceStraight[3];
    const std::function<void(Chain&)> changes[] = {
        [](Chain&) {},
        [](Chain& c) { c[2].SetRoll(coDegrees(-50.0f)); },
        [](Chain& c) { c[0].SetSlope(coDegrees(-10.0f)); },
        [](Chain& c) { c[1].SetRollBlend(1); },
        [](Chain& c) { c[2].SetRollBlend(0); },
        [](Chain& c) { c[1].SetNext(nullptr); },
        [](Chain& c) { c[1].SetPrevious(nullptr); },
    };
    const auto frames = [](const coCoasterPiece& piece) {
        std::vector<float> out;
        for (int i = 0; i <= 40; ++i) {
            const maMatrix4d frame = piece.FrameAt(static_cast<float>(i) / 40.0f);
            out.insert(out.end(), frame.m, frame.m + 16);
        }
        return out;
    };
    for (size_t c = 0; c < std::size(changes); ++c) {
        Chain chain;
        for (int i = 0; i < 3; ++i) {
            chain[i].SetSlope(coDegrees(static_cast<float>(i) * 8.0f));
            chain[i].SetRoll(coDegrees(static_cast<float>(i) * 30.0f));
        }
        chain[0].SetNext(&chain[1]);
        chain[1].SetPrevious(&chain[0]);
        chain[1].SetNext(&chain[2]);
        chain[2].SetPrevious(&chain[1]);
        std::vector<float> frozen;
        {
            const coFrozenTrack scope;
            frames(chain[1]);
            changes[c](chain);
            frozen = frames(chain[1]);
        }
        EXPECT_EQ(frozen, frames(chain[1])) << "change " << c;
    }
}
