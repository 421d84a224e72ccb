// What every piece class promises its users, checked over a grid of its parameters (limits included),
// slopes and rolls. A new class joins with one line in kPieceClasses.
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceCustom.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coPieceLimits.h"

#include "coTrackTestSupport.h"

#include <memory>
#include <ostream>
#include <vector>

namespace {

// Where Reverse applied twice leaves a piece. Every class gets back its heading (up to whole turns),
// slope, roll, parameters, links and shape; those that truly run backwards also get back their start.
// The climb, the half loop and the custom piece run on from their old end instead: they have moved on.
enum class coTwiceReversed { BackAtStart, MovedOn };

struct coPieceClass {
    const char* name;
    std::unique_ptr<coCoasterPiece> (*make)();
    coTwiceReversed reversed;
};

void PrintTo(const coPieceClass& shape, std::ostream* out) {
    *out << shape.name;
}

template <class Piece> std::unique_ptr<coCoasterPiece> Make() {
    return std::make_unique<Piece>();
}

// A Custom piece keeps its points when reversed, so twice reversed it climbs on from its old end.
std::unique_ptr<coCoasterPiece> MakeCustom() {
    auto piece = std::make_unique<coCoasterPieceCustom>();
    const bool accepted = piece->SetPoints({{maVector3d(0, 0, 0), 0.0f, 0.0f, 1.0f, 0.0f},
                                            {maVector3d(4, 3, 12), 0.2f, 0.5f, 1.0f, 0.3f},
                                            {maVector3d(0, 5, 24), 0.0f, 0.0f, 1.0f, 0.0f}});
    EXPECT_TRUE(accepted);
    return piece;
}

const coPieceClass kPieceClasses[] = {
    {"Straight", Make<coCoasterPieceStraight>, coTwiceReversed::BackAtStart},
    {"Turn", Make<coCoasterPieceTurn>, coTwiceReversed::BackAtStart},
    {"ShallowTurn", Make<coCoasterPieceShallowTurn>, coTwiceReversed::BackAtStart},
    {"STurn", Make<coCoasterPieceSTurn>, coTwiceReversed::BackAtStart},
    {"Up", Make<coCoasterPieceUp>, coTwiceReversed::MovedOn},
    {"Loop", Make<coCoasterPieceLoop>, coTwiceReversed::BackAtStart},
    {"HalfLoop", Make<coCoasterPieceHalfLoop>, coTwiceReversed::MovedOn},
    {"Corkscrew", Make<coCoasterPieceCorkscrew>, coTwiceReversed::BackAtStart},
    {"HalfCorkscrew", Make<coCoasterPieceHalfCorkscrew>, coTwiceReversed::BackAtStart},
    {"Custom", MakeCustom, coTwiceReversed::MovedOn},
};

const float kFractions[] = {0.0f, 0.5f, 1.0f};
const float kRolls[] = {-maPiF, -1.0f, 0.0f, 0.5f, maPiF};

// Both limits of the class's slope, a little of each sign, and none.
std::vector<float> SlopesFor(const coCoasterPiece& piece) {
    const float limit = MaxSlopeFor(piece);
    return {-limit, -0.3f * limit, 0.0f, 0.5f * limit, limit};
}

maVector3d Row(const maMatrix4d& m, int row) {
    return maVector3d(m.m[row * 4], m.m[row * 4 + 1], m.m[row * 4 + 2]);
}

bool IsFinite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Rows 0 to 2 orthonormal with up = along x side, row 3 the centre-line point.
void ExpectSoundFrame(const coCoasterPiece& piece, float s) {
    const maMatrix4d frame = piece.FrameAt(s);
    for (float element : frame.m)
        ASSERT_TRUE(std::isfinite(element)) << "s " << s;
    const maVector3d side = Row(frame, 0), up = Row(frame, 1), along = Row(frame, 2);
    const float eps = 1e-5f;
    EXPECT_NEAR(side.Length(), 1.0f, eps) << "s " << s;
    EXPECT_NEAR(up.Length(), 1.0f, eps) << "s " << s;
    EXPECT_NEAR(along.Length(), 1.0f, eps) << "s " << s;
    EXPECT_NEAR(maDot(side, along), 0.0f, eps) << "s " << s;
    EXPECT_NEAR(maDot(up, along), 0.0f, eps) << "s " << s;
    maVector3d cross;
    along.Cross(side, cross);
    ExpectVectorNear(up, cross, eps);
    const maVector3d point = piece.PointAt(s);
    ExpectVectorNear(Row(frame, 3), point, coPositionTolerance(point));
}

// The piece with parameters a and b (normalised), slope and roll, placed alone.
std::unique_ptr<coCoasterPiece> MakeShape(const coPieceClass& shape, float a, float b, float slope,
                                          float roll) {
    std::unique_ptr<coCoasterPiece> piece = shape.make();
    piece->SetParamANormalised(a);
    piece->SetParamBNormalised(b);
    piece->SetRoll(roll);
    piece->SetSlope(slope);
    piece->Place(maVector3d(3, 10, -4), 2.5f);
    return piece;
}

class coPieceContract : public testing::TestWithParam<coPieceClass> {};

} // namespace

TEST_P(coPieceContract, LonePiecesRunFromStartToEndWithSoundFrames) {
    const coPieceClass& shape = GetParam();
    const std::vector<float> slopes = SlopesFor(*shape.make());
    for (float a : kFractions) {
        for (float b : kFractions) {
            for (float slope : slopes) {
                for (float roll : kRolls) {
                    const std::unique_ptr<coCoasterPiece> piece = MakeShape(shape, a, b, slope, roll);
                    SCOPED_TRACE(testing::Message()
                                 << "a " << a << " b " << b << " slope " << slope << " roll " << roll);
                    const maVector3d start = piece->GetStart(), end = piece->GetEnd();
                    ExpectVectorNear(piece->PointAt(0.0f), start, coPositionTolerance(start));
                    ExpectVectorNear(piece->PointAt(1.0f), end, coPositionTolerance(end));
                    EXPECT_TRUE(IsFinite(end));
                    EXPECT_TRUE(std::isfinite(piece->GetEndHeading()));
                    EXPECT_TRUE(std::isfinite(piece->GetSpan()));
                    EXPECT_TRUE(std::isfinite(piece->GetSlope(1)) && std::isfinite(piece->GetRoll(1)));
                    EXPECT_GT(piece->GetLength(), 0.0f);
                    EXPECT_GE(piece->GetLength() * 1.0001f, (end - start).Length());
                    for (int i = 0; i <= 20; ++i)
                        ExpectSoundFrame(*piece, static_cast<float>(i) / 20.0f);
                    for (int i = 0; i <= 20; ++i)
                        EXPECT_TRUE(IsFinite(piece->SideAt(static_cast<float>(i) / 20.0f)));
                }
            }
        }
    }
}

TEST_P(coPieceContract, ParameterStepsStayWithinTheLimits) {
    const std::unique_ptr<coCoasterPiece> piece = GetParam().make();
    piece->Place(maVector3d(0, 0, 0), 0.0f);
    const float eps = 1e-6f;
    for (float steps : {1000.0f, -1000.0f, 1.0f}) {
        piece->AdjustParamA(steps);
        EXPECT_GE(piece->GetParamANormalised(), -eps);
        EXPECT_LE(piece->GetParamANormalised(), 1.0f + eps);
        piece->AdjustParamB(steps);
        EXPECT_GE(piece->GetParamBNormalised(), -eps);
        EXPECT_LE(piece->GetParamBNormalised(), 1.0f + eps);
        EXPECT_TRUE(IsFinite(piece->GetEnd()));
    }
    // The normalised parameters read back what was set.
    for (float f : {0.0f, 0.3f, 1.0f}) {
        piece->SetParamANormalised(f);
        piece->SetParamBNormalised(f);
        if (piece->GetParamANormalised() != 0.0f) { // 0 in classes without a parameter A
            EXPECT_NEAR(piece->GetParamANormalised(), f, 1e-6f) << f;
        }
        if (piece->GetParamBNormalised() != 0.0f) { // 0 in classes without a parameter B
            EXPECT_NEAR(piece->GetParamBNormalised(), f, 1e-6f) << f;
        }
    }
}

TEST_P(coPieceContract, ReversedTwiceIsThePieceAgain) {
    const coPieceClass& shape = GetParam();
    const std::unique_ptr<coCoasterPiece> piece = MakeShape(shape, 0.3f, 0.6f, 0.0f, 0.6f);
    piece->SetSlope(0.2f * MaxSlopeFor(*piece));
    coCoasterPieceStraight previous, next;
    piece->SetPrevious(&previous);
    piece->SetNext(&next);
    piece->Build();
    const maVector3d start = piece->GetStart(), end = piece->GetEnd();
    const float heading = piece->GetHeading(), slope = piece->GetBaseSlope(), roll = piece->GetRoll(0);
    const float a = piece->GetParamANormalised(), b = piece->GetParamBNormalised();

    piece->Reverse();
    piece->Reverse();
    EXPECT_EQ(piece->GetPrevious(), &previous);
    EXPECT_EQ(piece->GetNext(), &next);
    EXPECT_NEAR(std::remainder(piece->GetHeading() - heading, maTwoPiF), 0.0f, 1e-5f);
    EXPECT_EQ(piece->GetBaseSlope(), slope);
    // The half corkscrew starts its reversed run with its end roll: back again within a rounding step.
    EXPECT_NEAR(piece->GetRoll(0), roll, 1e-6f);
    EXPECT_EQ(piece->GetParamANormalised(), a);
    EXPECT_EQ(piece->GetParamBNormalised(), b);
    ExpectVectorNear(piece->GetEnd() - piece->GetStart(), end - start, 1e-4f);
    if (shape.reversed == coTwiceReversed::BackAtStart)
        ExpectVectorNear(piece->GetStart(), start, coPositionTolerance(start));
}

TEST_P(coPieceContract, JointsMeetTheirNeighbours) {
    // Straight neighbours of other slope and roll: the centre line runs on without a step at both joints.
    const coPieceClass& shape = GetParam();
    for (float a : kFractions) {
        for (int mode = 0; mode < 3; ++mode) {
            coCoasterPieceStraight previous, next;
            std::unique_ptr<coCoasterPiece> piece = shape.make();
            piece->SetParamANormalised(a);
            previous.SetSlope(coDegrees(15.0f));
            previous.SetRoll(-0.4f);
            piece->SetSlope(-0.5f * MaxSlopeFor(*piece));
            piece->SetRoll(0.3f);
            piece->SetRollBlend(mode);
            next.SetSlope(coDegrees(5.0f));
            coLinkPieces({&previous, piece.get(), &next});
            SCOPED_TRACE(testing::Message() << "a " << a << " mode " << mode);
            const maVector3d in = previous.PointAt(1.0f), out = piece->PointAt(1.0f);
            ExpectVectorNear(piece->PointAt(0.0f), in, coPositionTolerance(in));
            ExpectVectorNear(next.PointAt(0.0f), out, coPositionTolerance(out));
        }
    }
}

TEST(coPieceContractEdges, ShapesOnlyFilesMakeKeepSoundFrames) {
    // A custom curve climbing straight up along its points' own up, one whose points coincide, and a
    // turn too small for float to tell its points apart: none gives an axis to take the frame from.
    std::vector<std::unique_ptr<coCoasterPiece>> pieces;
    auto vertical = std::make_unique<coCoasterPieceCustom>();
    ASSERT_TRUE(vertical->SetPoints(
        {{maVector3d(0, 0, 0), 0.0f, 0.0f, 0.0f, 0.0f}, {maVector3d(0, 10, 0), 0.0f, 0.0f, 0.0f, 0.0f}}));
    pieces.push_back(std::move(vertical));
    auto point = std::make_unique<coCoasterPieceCustom>();
    ASSERT_TRUE(point->SetPoints(
        {{maVector3d(1, 1, 1), 0.0f, 0.0f, 1.0f, 0.0f}, {maVector3d(1, 1, 1), 0.0f, 0.0f, 1.0f, 0.0f}}));
    pieces.push_back(std::move(point));
    auto turn = std::make_unique<coCoasterPieceTurn>();
    turn->SetRadius(1e-30f);
    pieces.push_back(std::move(turn));
    for (const auto& piece : pieces) {
        piece->SetRoll(0.5f);
        piece->Place(maVector3d(3, 10, -4), 2.5f);
        for (int i = 0; i <= 20; ++i)
            ExpectSoundFrame(*piece, static_cast<float>(i) / 20.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(AllClasses, coPieceContract, testing::ValuesIn(kPieceClasses),
                         [](const testing::TestParamInfo<coPieceClass>& info) { return info.param.name; });
