// What every piece class promises its users, checked over a grid of its parameters (limits included),
// slopes and rolls. A new class joins with one line in kPieceClasses, its parameters with a line each in
// kParameters.
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
#include "Source/Track/coPieceFitting.h"
#include "Source/Track/coPieceLimits.h"

#include "Source/Track/coTrackTestSupport.h"

#include <any>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

namespace {

// What Reverse makes of a piece. Most run back from their old end to their old start; the shallow turn
// stays as it is; the climb, the half loop and the custom piece start at their old end but run on.
enum class coReversed { RunsBack, StaysPut, MovesOn };

struct coPieceClass {
    const char* name;
    std::unique_ptr<coCoasterPiece> (*make)();
    float maxSlopeDegrees;
    coReversed reversed;
    // Banked by its roll alone: a positive roll lifts the side axis all along.
    bool flat;
};

void PrintTo(const coPieceClass& shape, std::ostream* out) {
    *out << shape.name;
}

template <class Piece> std::unique_ptr<coCoasterPiece> Make() {
    return std::make_unique<Piece>();
}

// The class's default piece, then the setup given.
template <class Piece, auto Setup> std::unique_ptr<coCoasterPiece> MakeWith() {
    auto piece = std::make_unique<Piece>();
    Setup(*piece);
    return piece;
}

using enum coReversed;
const coPieceClass kPieceClasses[] = {
    {"Straight", Make<coCoasterPieceStraight>, 75.0f, RunsBack, true},
    {"Turn", Make<coCoasterPieceTurn>, 75.0f, RunsBack, true},
    {"LeftTurn", MakeWith<coCoasterPieceTurn, [](auto& p) { p.SetAngle(coDegrees(-90.0f)); }>, 75.0f,
     RunsBack, true},
    {"ShallowTurn", Make<coCoasterPieceShallowTurn>, 75.0f, StaysPut, true},
    {"LeftShallowTurn", MakeWith<coCoasterPieceShallowTurn, [](auto& p) { p.SetAngle(coDegrees(-15.0f)); }>,
     75.0f, StaysPut, true},
    {"STurn", Make<coCoasterPieceSTurn>, 75.0f, RunsBack, true},
    {"Up", Make<coCoasterPieceUp>, 75.0f, MovesOn, false},
    {"Loop", Make<coCoasterPieceLoop>, 30.0f, RunsBack, false},
    {"HalfLoop", Make<coCoasterPieceHalfLoop>, 75.0f, MovesOn, false},
    {"Corkscrew", Make<coCoasterPieceCorkscrew>, 30.0f, RunsBack, false},
    {"LeftCorkscrew",
     MakeWith<coCoasterPieceCorkscrew, [](auto& p) { EXPECT_TRUE(p.SetApproachAngle(-1.0f)); }>, 30.0f,
     RunsBack, false},
    {"HalfCorkscrew", Make<coCoasterPieceHalfCorkscrew>, 75.0f, RunsBack, false},
    {"DownwardLeftHalfCorkscrew",
     MakeWith<coCoasterPieceHalfCorkscrew,
              [](auto& p) {
                  p.SetDownward(true);
                  EXPECT_TRUE(p.SetAngle(coDegrees(-60.0f)));
              }>,
     75.0f, RunsBack, false},
    {"Custom",
     MakeWith<coCoasterPieceCustom,
              [](auto& p) {
                  EXPECT_TRUE(p.SetPoints({{maVector3d(0, 0, 0), 0.0f, 0.0f, 1.0f, 0.0f},
                                           {maVector3d(4, 3, 12), 0.2f, 0.5f, 1.0f, 0.3f},
                                           {maVector3d(0, 5, 24), 0.0f, 0.0f, 1.0f, 0.0f}}));
              }>,
     75.0f, MovesOn, false},
};

const float kFractions[] = {0.0f, 0.5f, 1.0f};
const float kRolls[] = {-maPiF, -1.0f, 0.0f, 0.5f, maPiF};

// Both limits of the class's slope, a little of each sign, and none.
std::vector<float> SlopesFor(const coCoasterPiece& piece) {
    const float limit = MaxSlopeFor(piece);
    return {-limit, -0.3f * limit, 0.0f, 0.5f * limit, limit};
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

// What sets a shape beyond its parameters, a drag and a flip: the closing's fit of an S-turn, a corkscrew's
// approach, a loop's slide, a climb's turn, a file's points.
void Reshape(coCoasterPiece& piece) {
    if (auto* p = dynamic_cast<coCoasterPieceSTurn*>(&piece)) {
        EXPECT_TRUE(p->FitToPoint(p->GetEnd() + maVector3d(0, 1, 0)) && p->SetEndHeading(0.4f));
    } else if (auto* p = dynamic_cast<coCoasterPieceCorkscrew*>(&piece)) {
        EXPECT_TRUE(p->SetApproachAngle(-0.2f));
    } else if (auto* p = dynamic_cast<coCoasterPieceLoop*>(&piece)) {
        p->SetSlide(-3.0f);
    } else if (auto* p = dynamic_cast<coCoasterPieceUp*>(&piece)) {
        EXPECT_TRUE(p->SetAngle(0.3f));
    } else if (auto* p = dynamic_cast<coCoasterPieceCustom*>(&piece)) {
        EXPECT_TRUE(p->SetPoints({{}, {maVector3d(2, 1, 9), 0.1f, 0.2f, 1.0f, 0.0f}}));
    }
}

class coPieceContract : public testing::TestWithParam<coPieceClass> {};

} // namespace

TEST_P(coPieceContract, LonePiecesRunFromStartToEndWithSoundFrames) {
    const coPieceClass& shape = GetParam();
    const std::vector<float> slopes = SlopesFor(*shape.make());
    EXPECT_EQ(slopes.back(), coDegrees(shape.maxSlopeDegrees));
    // Every parameter pair at 0, 0.5 and 1, with every slope and roll.
    for (int c = 0; c < 9 * 5 * 5; ++c) {
        const float a = kFractions[c % 3], b = kFractions[c / 3 % 3];
        const float slope = slopes[static_cast<size_t>(c / 9 % 5)], roll = kRolls[c / 45];
        const std::unique_ptr<coCoasterPiece> piece = MakeShape(shape, a, b, slope, roll);
        SCOPED_TRACE(testing::Message() << "a " << a << " b " << b << " slope " << slope << " roll " << roll);
        const maVector3d start = piece->GetStart(), end = piece->GetEnd();
        ExpectVectorNear(piece->PointAt(0.0f), start, coPositionTolerance(start));
        ExpectVectorNear(piece->PointAt(1.0f), end, coPositionTolerance(end));
        EXPECT_TRUE(coIsFinite(end));
        EXPECT_TRUE(std::isfinite(piece->GetEndHeading()) && std::isfinite(piece->GetSpan()));
        EXPECT_TRUE(std::isfinite(piece->GetSlope(1)) && std::isfinite(piece->GetRoll(1)));
        EXPECT_GT(piece->GetLength(), 0.0f);
        EXPECT_GE(piece->GetLength() * 1.0001f, (end - start).Length());
        ExpectSoundFrames(*piece);
        for (int i = 0; i <= 20; ++i) {
            const float s = static_cast<float>(i) / 20.0f;
            const maMatrix4d frame = piece->FrameAt(s);
            maVector3d direction;
            const maVector3d point = piece->PointAt(s, &direction);
            ExpectVectorNear(coFrameRow(frame, 3), point, coPositionTolerance(point));
            if (direction.Length() > 0.5f) // rows: side, up, the travel direction, the point
                ExpectVectorNear(coFrameRow(frame, 2), direction, 1e-4f);
            // The forward axis alone is the frame's own, to the bit.
            const maVector3d forward = piece->ForwardAt(s);
            EXPECT_TRUE(forward.x == frame.m[8] && forward.y == frame.m[9] && forward.z == frame.m[10])
                << "s " << s;
            EXPECT_TRUE(coIsFinite(piece->SideAt(s)));
            // A positive roll lifts the side axis of a piece banked by its roll alone; a negative one lowers
            // it.
            if (shape.flat && std::fabs(roll) > 0.01f && std::fabs(roll) < 3.13f) {
                EXPECT_EQ(frame.m[1] > 0.0f, roll > 0.0f) << "s " << s;
            }
        }
    }
}

TEST_P(coPieceContract, ReversedOnceAndTwice) {
    const coPieceClass& shape = GetParam();
    const std::unique_ptr<coCoasterPiece> piece = MakeShape(shape, 0.3f, 0.6f, 0.0f, 0.6f);
    piece->SetSlope(0.2f * MaxSlopeFor(*piece));
    coCoasterPieceStraight previous, next;
    piece->SetPrevious(&previous);
    piece->SetNext(&next);
    piece->Build();
    const maVector3d start = piece->GetStart(), end = piece->GetEnd();
    const float heading = piece->GetHeading(), endHeading = piece->GetEndHeading();
    const float slope = piece->GetBaseSlope(), roll = piece->GetRoll(0);
    const float a = piece->GetParamANormalised(), b = piece->GetParamBNormalised();

    piece->Reverse();
    if (shape.reversed == StaysPut) {
        ExpectVectorNear(piece->GetStart(), start, 0.0f);
        EXPECT_EQ(std::tuple(piece->GetHeading(), piece->GetPrevious()), std::tuple(heading, &previous));
    } else {
        ExpectVectorNear(piece->GetStart(), end, coPositionTolerance(end));
        EXPECT_NEAR(piece->GetHeading(), endHeading + maPiF, 1e-5f);
        EXPECT_EQ(std::tuple(piece->GetPrevious(), piece->GetNext()), std::tuple(&next, &previous));
    }
    if (shape.reversed == RunsBack)
        ExpectVectorNear(piece->GetEnd(), start, coPositionTolerance(start));
    if (shape.reversed == RunsBack && shape.flat) {
        EXPECT_EQ(piece->GetRoll(0), -roll);
        EXPECT_EQ(piece->GetBaseSlope(), -slope);
    }

    // Twice reversed every class has its heading (up to whole turns), slope, roll, parameters, links and
    // shape back; those that run back also their start.
    piece->Reverse();
    EXPECT_EQ(std::tuple(piece->GetPrevious(), piece->GetNext(), piece->GetBaseSlope(),
                         piece->GetParamANormalised(), piece->GetParamBNormalised()),
              std::tuple(&previous, &next, slope, a, b));
    EXPECT_NEAR(std::remainder(piece->GetHeading() - heading, maTwoPiF), 0.0f, 1e-5f);
    // The half corkscrew starts its reversed run with its end roll: back again within a rounding step.
    EXPECT_NEAR(piece->GetRoll(0), roll, 1e-6f);
    ExpectVectorNear(piece->GetEnd() - piece->GetStart(), end - start, 1e-4f);
    if (shape.reversed != MovesOn)
        ExpectVectorNear(piece->GetStart(), start, coPositionTolerance(start));
}

TEST_P(coPieceContract, DraggingMovesTheEndAlongTheHandleUnclamped) {
    const std::unique_ptr<coCoasterPiece> piece = GetParam().make();
    piece->Place(maVector3d(1, 2, 3), 0.7f);
    const maVector3d end = piece->GetEnd();
    maVector3d direction;
    float amount = 0.0f;
    if (!piece->GetDragHandle(direction, amount)) {
        piece->Drag(5.0f);
        ExpectVectorNear(piece->GetEnd(), end, 0.0f);
        return;
    }
    EXPECT_NEAR(direction.Length(), 1.0f, 1e-6f);
    EXPECT_EQ(direction.y, 0.0f);
    // Far enough to pass any parameter limit: files and the closing fit may hold such values.
    piece->Drag(50.0f);
    ExpectVectorNear(piece->GetEnd(), end + direction * 50.0f, 1e-4f);
    maVector3d after;
    float dragged = 0.0f;
    ASSERT_TRUE(piece->GetDragHandle(after, dragged));
    EXPECT_NEAR(dragged, amount + 50.0f, 1e-4f);
    ExpectVectorNear(after, direction, 1e-6f);
}

TEST_P(coPieceContract, AKeptShapeComesBackToTheBit) {
    // A Finish that cannot close puts every piece back with the shape it kept, whatever changed it.
    const std::unique_ptr<coCoasterPiece> piece = MakeShape(GetParam(), 0.3f, 0.6f, 0.1f, 0.2f);
    const auto geometry = [&] {
        const maVector3d end = piece->GetEnd();
        return std::tuple(end.x, end.y, end.z, piece->GetEndHeading(), piece->GetLength(), piece->GetSlope(1),
                          piece->GetRoll(1), piece->GetParamANormalised(), piece->GetParamBNormalised());
    };
    const auto before = geometry();
    const float slope = piece->GetBaseSlope();
    const std::any kept = piece->KeepShape();
    piece->SetParamANormalised(0.9f);
    piece->SetParamBNormalised(0.1f);
    piece->Drag(7.0f);
    coFlipPiece(piece.get());
    Reshape(*piece);
    ASSERT_NE(geometry(), before);
    piece->PutShape(kept);
    piece->SetSlope(slope);
    EXPECT_EQ(geometry(), before);
}

TEST_P(coPieceContract, JointsMeetTheirNeighboursForEveryMixOfModes) {
    // Straight neighbours of other slope and roll: the centre line runs on without a step at both joints,
    // and where the piece ends with the roll it started with, the roll does too. In a circuit the first
    // piece always blends as mode 1.
    const coPieceClass& shape = GetParam();
    for (int c = 0; c < 2 * 27 * 2; ++c) {
        const float a = static_cast<float>(c % 2);
        const int modes = c / 2 % 27, inCircuit = c / 54;
        auto previous = std::make_unique<coCoasterPieceStraight>();
        coCoasterPieceStraight next;
        std::unique_ptr<coCoasterPiece> piece = shape.make();
        piece->SetParamANormalised(a);
        previous->SetSlope(coDegrees(15.0f));
        previous->SetRoll(-0.4f);
        piece->SetSlope(-0.5f * MaxSlopeFor(*piece));
        piece->SetRoll(0.3f);
        next.SetSlope(coDegrees(5.0f));
        next.SetRoll(coDegrees(170.0f));
        previous->SetRollBlend(modes % 3);
        piece->SetRollBlend(modes / 3 % 3);
        next.SetRollBlend(modes / 9);
        const std::vector<coCoasterPiece*> chain{previous.get(), piece.get(), &next};
        if (inCircuit)
            coCircuitPieces().push_back(std::move(previous));
        coLinkPieces({chain[0], chain[1], chain[2]});
        SCOPED_TRACE(testing::Message() << "a " << a << " modes " << modes << " circuit " << inCircuit);
        if (piece->GetRoll(1) == piece->GetRoll(0)) {
            ExpectContinuousJoints(chain);
        } else {
            for (size_t i = 0; i + 1 < chain.size(); ++i) {
                const maVector3d joint = chain[i]->PointAt(1.0f);
                ExpectVectorNear(chain[i + 1]->PointAt(0.0f), joint, coPositionTolerance(joint));
            }
        }
        if (shape.flat)
            ExpectSoundFrames(*piece, 1e-4f);
        coCircuitPieces().clear();
    }
}

INSTANTIATE_TEST_SUITE_P(AllClasses, coPieceContract, testing::ValuesIn(kPieceClasses),
                         [](const testing::TestParamInfo<coPieceClass>& info) { return info.param.name; });

namespace {

// One parameter of a class as the editor steps it: its value, the change of one step up, the range, and
// whether the normalised setter clamps its fraction.
struct coPieceParameter {
    const char* name;
    std::unique_ptr<coCoasterPiece> (*make)();
    bool isB;
    float (*get)(const coCoasterPiece&);
    float step;
    float minimum;
    float maximum;
    bool normalisedClamps;
};

void PrintTo(const coPieceParameter& parameter, std::ostream* out) {
    *out << parameter.name;
}

template <class Piece, float (Piece::*Get)() const> float Value(const coCoasterPiece& piece) {
    return (static_cast<const Piece&>(piece).*Get)();
}

// Class, getter, A or B, one step up, minimum, maximum, whether the normalised setter clamps.
// clang-format off
#define CO_PARAMETER(Class, Get, isB, step, minimum, maximum, clamps) \
    {#Class #Get, Make<Class>, isB, Value<Class, &Class::Get>, step, minimum, maximum, clamps}
// clang-format on
const coPieceParameter kParameters[] = {
    CO_PARAMETER(coCoasterPieceStraight, GetRunLength, false, 1.0f, 5.0f, 40.0f, true),
    CO_PARAMETER(coCoasterPieceTurn, GetAngle, false, coDegrees(5.0f), coDegrees(15.0f), coDegrees(180.0f),
                 true),
    CO_PARAMETER(coCoasterPieceTurn, GetRadius, true, 1.0f, 5.0f, 40.0f, false),
    CO_PARAMETER(coCoasterPieceShallowTurn, GetRunLength, false, 1.0f, 5.0f, 40.0f, false),
    CO_PARAMETER(coCoasterPieceShallowTurn, GetAngle, true, coDegrees(2.0f), coDegrees(1.0f),
                 coDegrees(30.0f), true),
    CO_PARAMETER(coCoasterPieceSTurn, GetRunLength, false, 1.0f, 5.0f, 40.0f, true),
    // A positive step lowers the slide: the end moves towards +N.
    CO_PARAMETER(coCoasterPieceSTurn, GetSlide, true, -1.0f, -40.0f, 40.0f, true),
    CO_PARAMETER(coCoasterPieceUp, GetRunLength, false, 1.0f, 20.0f, 40.0f, true),
    CO_PARAMETER(coCoasterPieceLoop, GetRunLength, false, 2.0f, 20.0f, 50.0f, true),
    CO_PARAMETER(coCoasterPieceLoop, GetHeight, true, 2.0f, 20.0f, 50.0f, true),
    CO_PARAMETER(coCoasterPieceHalfLoop, GetRatio, false, 0.05f, 0.5555556f, 1.1111112f, true),
    CO_PARAMETER(coCoasterPieceHalfLoop, GetHeight, true, 2.0f, 10.0f, 50.0f, true),
    CO_PARAMETER(coCoasterPieceCorkscrew, GetRunLength, false, 1.0f, 20.0f, 50.0f, true),
    CO_PARAMETER(coCoasterPieceCorkscrew, GetRadius, true, 0.5f, 5.0f, 12.0f, true),
    CO_PARAMETER(coCoasterPieceHalfCorkscrew, GetRadius, false, 0.5f, 5.0f, 25.0f, true),
    CO_PARAMETER(coCoasterPieceHalfCorkscrew, GetAngle, true, coDegrees(5.0f), coDegrees(0.0001f),
                 coDegrees(180.0f), true),
};
#undef CO_PARAMETER

class coPieceParameters : public testing::TestWithParam<coPieceParameter> {
  protected:
    void Adjust(coCoasterPiece& piece, float steps) const {
        GetParam().isB ? piece.AdjustParamB(steps) : piece.AdjustParamA(steps);
    }
    void SetNormalised(coCoasterPiece& piece, float t) const {
        GetParam().isB ? piece.SetParamBNormalised(t) : piece.SetParamANormalised(t);
    }
    float GetNormalised(const coCoasterPiece& piece) const {
        return GetParam().isB ? piece.GetParamBNormalised() : piece.GetParamANormalised();
    }
};

} // namespace

TEST_P(coPieceParameters, StepWithinTheirLimitsAndReadBackNormalised) {
    const coPieceParameter& parameter = GetParam();
    const std::unique_ptr<coCoasterPiece> piece = parameter.make();
    piece->Place(maVector3d(0, 0, 0), 0.0f);
    const float lowest = parameter.minimum, highest = parameter.maximum, range = highest - lowest;

    SetNormalised(*piece, 0.5f);
    EXPECT_FLOAT_EQ(parameter.get(*piece), lowest + 0.5f * range);
    EXPECT_FLOAT_EQ(GetNormalised(*piece), 0.5f);
    const float middle = parameter.get(*piece);
    Adjust(*piece, 1.0f);
    EXPECT_FLOAT_EQ(parameter.get(*piece), middle + parameter.step);
    Adjust(*piece, 1000.0f);
    EXPECT_EQ(parameter.get(*piece), parameter.step > 0.0f ? highest : lowest);
    Adjust(*piece, -1000.0f);
    EXPECT_EQ(parameter.get(*piece), parameter.step > 0.0f ? lowest : highest);
    EXPECT_TRUE(coIsFinite(piece->GetEnd()));

    SetNormalised(*piece, 2.0f);
    EXPECT_FLOAT_EQ(parameter.get(*piece), parameter.normalisedClamps ? highest : lowest + 2.0f * range);
    SetNormalised(*piece, -1.0f);
    EXPECT_FLOAT_EQ(parameter.get(*piece), parameter.normalisedClamps ? lowest : lowest - range);
    EXPECT_FLOAT_EQ(GetNormalised(*piece), parameter.normalisedClamps ? 0.0f : -1.0f);
}

INSTANTIATE_TEST_SUITE_P(AllParameters, coPieceParameters, testing::ValuesIn(kParameters),
                         [](const testing::TestParamInfo<coPieceParameter>& info) {
                             return info.param.name;
                         });

TEST(coPieceParametersMissing, ClassesWithoutAParameterIgnoreItsOperations) {
    // The straight, the climb and the custom piece.
    const std::unique_ptr<coCoasterPiece> pieces[] = {kPieceClasses[0].make(), kPieceClasses[6].make(),
                                                      kPieceClasses[13].make()};
    for (const auto& piece : pieces) {
        piece->Place(maVector3d(0, 0, 0), 0.0f);
        const maVector3d end = piece->GetEnd();
        piece->AdjustParamB(3.0f);
        piece->SetParamBNormalised(0.7f);
        EXPECT_EQ(piece->GetParamBNormalised(), 0.0f);
        ExpectVectorNear(piece->GetEnd(), end, 0.0f);
    }
    // The custom piece has no parameter A either.
    pieces[2]->AdjustParamA(3.0f);
    pieces[2]->SetParamANormalised(1.0f);
    EXPECT_EQ(pieces[2]->GetParamANormalised(), 0.0f);
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
        ExpectSoundFrames(*piece);
    }
}

TEST(coPieceContractEdges, SteepJointsFromFilesStayContinuousAndFinite) {
    // Slopes past 75 degrees (only from files) take the fillet built from the sloped runs, which also
    // shifts the joint along the track.
    coCoasterPieceStraight straight;
    coCoasterPieceTurn turn;
    coCoasterPieceShallowTurn shallow;
    straight.SetSlope(coDegrees(80.0f));
    turn.SetSlope(coDegrees(-85.0f));
    turn.SetRoll(1.0f);
    coLinkPieces({&straight, &turn, &shallow});
    ExpectContinuousJoints({&straight, &turn, &shallow});
    EXPECT_NE(VerticalProfileOffset(turn, 0.01f, nullptr).x, 0.0f);
    for (const coCoasterPiece* piece :
         std::initializer_list<const coCoasterPiece*>{&straight, &turn, &shallow})
        ExpectFiniteFrames(*piece, 40);
}
