#include "Source/Track/coPlacement.h"

#include "Source/Track/coCircuitTestSupport.h"
#include "Source/Track/coPieceFitting.h"
#include "Source/Track/coPieceLimits.h"

#include <array>
#include <tuple>

namespace {
using coPlacementTest = coCircuitFixture;

template <class Piece> Piece* AppendDefault() {
    return coAppendPiece<Piece>([](Piece&) {});
}

TEST_F(coPlacementTest, APieceOfTheSameKindContinuesBankAndPitch) {
    coAppendStraight(20.0f);
    auto* a = coAppendStraight(20.0f);
    EXPECT_EQ(a->GetRoll(0), 0.0f); // never matched to the first piece
    a->SetRoll(0.3f);
    a->SetSlope(0.1f);
    auto* b = coAppendStraight(20.0f);
    EXPECT_EQ(std::tuple(b->GetRoll(0), b->GetBaseSlope()), std::tuple(0.3f, 0.1f));
    // A piece raised clear of the terrain passes on its bank but not its pitch.
    b->SetRaised(true);
    auto* c = coAppendStraight(20.0f);
    EXPECT_EQ(std::tuple(c->GetRoll(0), c->GetBaseSlope()), std::tuple(0.3f, 0.0f));
    // Without matching nothing is taken over.
    EXPECT_EQ(coAppendStraight(20.0f, coElementNone, false)->GetRoll(0), 0.0f);

    // Turns: one the other way takes only the radius; one the same way also the bank.
    auto* right = coAppendTurn(coDegrees(90.0f), 20.0f);
    right->SetRoll(0.2f);
    auto* left = coAppendTurn(coDegrees(-90.0f), 15.0f);
    EXPECT_EQ(std::tuple(left->GetRadius(), left->GetRoll(0), left->GetBaseSlope(), left->GetAngle()),
              std::tuple(20.0f, 0.0f, 0.0f, coDegrees(-90.0f)));
    left->SetRoll(-0.2f);
    auto* sameWay = coAppendTurn(coDegrees(-45.0f), 30.0f);
    EXPECT_EQ(std::tuple(sameWay->GetRadius(), sameWay->GetRoll(0)), std::tuple(20.0f, -0.2f));

    // Corkscrews and loops chain with equal shape; a corkscrew after a left bank turns left.
    coCircuitClear();
    coAppendStraight(20.0f);
    coAppendStraight(20.0f)->SetRoll(-0.1f);
    auto* corkscrew = AppendDefault<coCoasterPieceCorkscrew>();
    EXPECT_EQ(corkscrew->GetApproachAngle(), -coDegrees(30.0f));
    corkscrew->SetRunLength(40.0f);
    corkscrew->SetRadius(10.0f);
    auto* next = AppendDefault<coCoasterPieceCorkscrew>();
    EXPECT_EQ(std::tuple(next->GetApproachAngle(), next->GetRunLength(), next->GetRadius()),
              std::tuple(-coDegrees(30.0f), 40.0f, 10.0f));
    auto* loop = coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop& p) { p.SetHeight(44.0f); });
    auto* nextLoop = AppendDefault<coCoasterPieceLoop>();
    EXPECT_EQ(nextLoop->GetHeight(), loop->GetHeight());
}

TEST_F(coPlacementTest, ClimbsHalfLoopsAndInvertedEnds) {
    coAppendStraight(20.0f);
    auto* level = coAppendStraight(20.0f);
    // After a climb (end slope +90 degrees) the next Up climbs too, and takes its bank.
    auto* up = AppendDefault<coCoasterPieceUp>();
    EXPECT_FALSE(up->IsDown());
    up->SetRoll(0.5f);
    auto* climb = AppendDefault<coCoasterPieceUp>();
    EXPECT_EQ(std::tuple(climb->IsDown(), climb->GetRoll(0)), std::tuple(false, 0.5f));
    // After a descent it descends.
    coCircuitRemoveLast();
    coCircuitRemoveLast();
    level->SetSlope(-0.2f);
    EXPECT_TRUE(AppendDefault<coCoasterPieceUp>()->IsDown());
    EXPECT_TRUE(AppendDefault<coCoasterPieceUp>()->IsDown());

    // Chained half loops flip only after an inverted end: the second ends the right way up again.
    coCircuitClear();
    coAppendStraight(20.0f);
    coAppendStraight(20.0f);
    auto* first = AppendDefault<coCoasterPieceHalfLoop>();
    ASSERT_TRUE(coEndsInverted(*first));
    auto* second = AppendDefault<coCoasterPieceHalfLoop>();
    EXPECT_TRUE(second->IsInverted());
    EXPECT_FLOAT_EQ(second->GetRoll(0), maPiF);
    ASSERT_FALSE(coEndsInverted(*second));
    auto* third = AppendDefault<coCoasterPieceHalfLoop>();
    EXPECT_EQ(std::tuple(third->IsInverted(), third->GetRoll(0)), std::tuple(false, 0.0f));

    // Anything after an inverted end is turned upside down.
    coCircuitClear();
    coAppendStraight(20.0f);
    coAppendStraight(20.0f)->SetRoll(coDegrees(150.0f));
    EXPECT_EQ(coAppendTurn(coDegrees(90.0f), 15.0f)->GetRoll(0), maPiF);
    // Inverted: a roll past 145 degrees within 80 degrees of level.
    const struct {
        float roll, slope;
        bool inverted;
    } ends[] = {{180.0f, 80.0f, true}, {180.0f, 81.0f, false}, {145.0f, 0.0f, false}, {150.0f, 0.0f, true}};
    for (const auto& end : ends) {
        coCoasterPieceStraight piece;
        piece.SetRoll(coDegrees(end.roll));
        piece.SetSlope(coDegrees(end.slope));
        EXPECT_EQ(coEndsInverted(piece), end.inverted) << end.roll << " " << end.slope;
    }
}

TEST_F(coPlacementTest, TheLiftRaisesAPieceOverTheHillAndNothingWithoutTerrain) {
    park.hillCentre = maVector3d(0.0f, 0.0f, 40.0f);
    park.hillRadius = 15.0f;
    coAppendStraight(10.0f);
    auto* flat = coAppendStraight(20.0f);
    EXPECT_FALSE(coLiftClearOfTerrain(flat));
    EXPECT_EQ(flat->GetEnd().y, 2.0f);
    coCircuitRemoveLast();

    park.hasTerrain = true;
    auto* piece = coAppendStraight(20.0f);
    EXPECT_TRUE(piece->IsRaised());
    const maVector3d end = piece->GetEnd();
    EXPECT_GT(end.y, park.GroundAt(end.x, end.z) + 1.5f - 1e-4f);
    EXPECT_GT(piece->GetBaseSlope(), 0.0f);
    EXPECT_EQ(builder.flags.back(), std::make_pair(static_cast<coCoasterPiece*>(piece), false));
    // Clear already: the flag goes and nothing is raised.
    piece->SetSlope(0.6f);
    EXPECT_FALSE(coLiftClearOfTerrain(piece));
    EXPECT_FALSE(piece->IsRaised());
    // Pieces that change their attitude are never lifted.
    coCoasterPieceHalfLoop halfLoop;
    coCoasterPieceUp up;
    for (coCoasterPiece* changing : std::initializer_list<coCoasterPiece*>{&halfLoop, &up}) {
        changing->Place(maVector3d(0.0f, 2.0f, 10.0f), 0.0f);
        EXPECT_FALSE(coLiftClearOfTerrain(changing));
    }

    // A hill too high to clear below the world's ceiling: given up.
    coCircuitClear();
    park.hillCentre = maVector3d(0.0f, 0.0f, 30.0f);
    park.hillHeight = 500.0f;
    coAppendStraight(10.0f);
    auto* under = coAppendStraight(20.0f);
    EXPECT_EQ(std::tuple(under->IsRaised(), under->GetBaseSlope()), std::tuple(false, 0.0f));
    // Terrain and piece so deep that stepping up by 1.0 no longer changes the height: no endless loop.
    park.groundLevel = -1e9f;
    coCoasterPieceStraight deep;
    deep.Place(maVector3d(0.0f, -1e9f, 100.0f), 0.0f);
    EXPECT_FALSE(coLiftClearOfTerrain(&deep));
}

TEST_F(coPlacementTest, SetEndHeightRefusesWhatNoSlopeCanReach) {
    auto* piece = coAppendStraight(20.0f);
    EXPECT_TRUE(coSetEndHeight(piece, 12.0f));
    EXPECT_NEAR(piece->GetEnd().y, 12.0f, 1e-5f);
    for (float unreachable :
         {2.0f + 20.0f * std::tan(coDegrees(76.0f)), std::numeric_limits<float>::quiet_NaN()})
        EXPECT_FALSE(coSetEndHeight(piece, unreachable)) << unreachable;
    piece->SetRunLength(0.0f);
    EXPECT_FALSE(coSetEndHeight(piece, 3.0f));
}

TEST_F(coPlacementTest, FixByDragTakesAtMostAThirdOfTheDraggablePieceAtATime) {
    coAppendStraight(20.0f);
    auto* straight = coAppendStraight(20.0f);
    coAppendTurn(coDegrees(90.0f), 15.0f);
    auto before = coCircuitPoses();
    EXPECT_TRUE(coFixByDrag(maVector3d(0.0f, 0.0f, 0.0f), 0.75f));
    EXPECT_TRUE(coCircuitPoses() == before);
    EXPECT_TRUE(coFixByDrag(maVector3d(0.0f, 0.0f, 5.0f), 0.75f));
    EXPECT_EQ(straight->GetRunLength(), 25.0f);
    EXPECT_FALSE(coFixByDrag(maVector3d(0.0f, 0.0f, -10.0f), 0.75f));
    EXPECT_EQ(straight->GetRunLength(), 17.5f);
    // Nothing that can move the end along x: the Turn's chord is 45 degrees off.
    before = coCircuitPoses();
    EXPECT_FALSE(coFixByDrag(maVector3d(1.0f, 0.0f, 0.0f), 0.75f));
    EXPECT_TRUE(coCircuitPoses() == before);
}

TEST_F(coPlacementTest, FixTurnAngleTurnsTheNearestTurnByAtMostHalfItsAngle) {
    coAppendStraight(20.0f);
    auto* turn = coAppendTurn(coDegrees(90.0f), 15.0f);
    for (int i = 0; i < 6; ++i)
        coAppendStraight(10.0f, coElementNone, false);
    EXPECT_TRUE(coFixTurnAngle(coDegrees(10.0f)));
    EXPECT_EQ(turn->GetAngle(), coDegrees(90.0f) + coDegrees(10.0f));
    EXPECT_NEAR(coCircuitLastPiece()->GetEndHeading(), coDegrees(100.0f), 1e-6f);
    EXPECT_FALSE(coFixTurnAngle(coDegrees(60.0f)));
    // Seven pieces back is too far for a large change, never for a small one.
    coAppendStraight(10.0f, coElementNone, false);
    EXPECT_FALSE(coFixTurnAngle(coDegrees(3.0f)));
    EXPECT_TRUE(coFixTurnAngle(coDegrees(2.0f)));
    EXPECT_EQ(turn->GetAngle(), coDegrees(90.0f) + coDegrees(10.0f) + coDegrees(2.0f));
}

TEST_F(coPlacementTest, TryCloseClosesR1AsBuiltAndWithAnyStraightTwoUnitsOff) {
    // R1 as built, each Straight 2 short or long in turn, and the last one 15 long: too far to close.
    std::vector<std::array<float, 4>> cases{{20.0f, 20.0f, 20.0f, 20.0f}, {20.0f, 20.0f, 20.0f, 35.0f}};
    for (int i = 0; i < 4; ++i)
        for (float error : {-2.0f, 2.0f}) {
            cases.push_back({20.0f, 20.0f, 20.0f, 20.0f});
            cases.back()[static_cast<size_t>(i)] += error;
        }
    for (size_t i = 0; i < cases.size(); ++i) {
        const auto& lengths = cases[i];
        SCOPED_TRACE(testing::Message()
                     << lengths[0] << " " << lengths[1] << " " << lengths[2] << " " << lengths[3]);
        coCircuitClear();
        coBuildR1({lengths[0], lengths[1], lengths[2], lengths[3]});
        const bool closes = i != 1;
        EXPECT_EQ(coCircuitEndMeetsStart(), closes);
        EXPECT_EQ(coCircuitTryClose(), closes);
        EXPECT_EQ(coCircuitIsClosed(), closes);
        if (closes) {
            EXPECT_LT(coCircuitGap(), i == 0 ? 1e-4f : 1e-3f);
            EXPECT_EQ(coCircuitLastPiece()->GetNext(), coCircuitFirstPiece());
            EXPECT_EQ(coCircuitPieceCount(), 8);
            EXPECT_TRUE(coCircuitTryClose()); // and again
        }
        if (i == 0) {
            EXPECT_NEAR(coCircuitTotalLength(), 174.221f, 1e-3f);
        }
    }
    coCircuitClear();
    coAppendStraight(20.0f);
    EXPECT_FALSE(coCircuitTryClose());
}

TEST_F(coPlacementTest, AFailedCloseLeavesEveryPieceAsItWas) {
    // A stadium whose second bend is half as wide as the first: its end lies 10 beside the start, near
    // enough to try, but the bend's drags (30 % of it a step) cannot take the gap up.
    coAppendStraight(40.0f, coElementNone, false);
    coAppendTurn(coDegrees(180.0f), 10.0f, coElementNone, false);
    coAppendStraight(40.0f, coElementNone, false);
    auto* bend = coAppendTurn(coDegrees(180.0f), 5.0f, coElementNone, false);
    const auto pieces = [] {
        std::vector<std::array<float, 8>> shapes;
        for (int i = 0; i < coCircuitPieceCount(); ++i) {
            const coCoasterPiece& p = *coCircuitPieceAt(i);
            const maVector3d start = p.GetStart(), end = p.GetEnd();
            shapes.push_back(
                {start.x, start.y, start.z, end.x, end.y, end.z, p.GetBaseSlope(), p.GetLength()});
        }
        return shapes;
    };
    const auto before = pieces();
    ASSERT_TRUE(coCircuitEndMeetsStart());
    EXPECT_FALSE(coCircuitTryClose());
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(bend->GetRadius(), 5.0f);
    EXPECT_EQ(pieces(), before);
}

TEST_F(coPlacementTest, TryCloseTakesASidewaysAndAVerticalGapApart) {
    // The last Straight is one too long (one across the start) and the second climbs by about 1.
    coBuildR1({20.0f, 20.0f, 20.0f, 21.0f});
    coCoasterPiece* climb = coCircuitPieceAt(2);
    climb->SetSlope(0.05f);
    coCircuitReflowFrom(climb, true);
    ASSERT_NEAR(coCircuitLastPiece()->GetEnd().y - 2.0f, 20.0f * std::tan(0.05f), 1e-4f);
    EXPECT_TRUE(coCircuitTryClose());
    EXPECT_LT(coCircuitGap(), 1e-3f);
    EXPECT_NEAR(static_cast<coCoasterPieceStraight*>(coCircuitPieceAt(6))->GetRunLength(), 20.0f, 1e-4f);
}

TEST_F(coPlacementTest, AShallowTurnThatCannotFitIsReplacedByAnSTurnThatTakesTheSelection) {
    // A Straight, then shallow turns through 340 degrees: no Turn to fix the last 20 degrees with. Once
    // with the last piece selected, once with nothing selected, which stays so. The replaced piece's
    // track props go over to the S-turn.
    for (bool selected : {true, false}) {
        coCircuitClear();
        coSelectionClear();
        park.propsMovedTo.clear();
        coAppendStraight(5.0f);
        coCoasterPieceShallowTurn* last = nullptr;
        for (int i = 0; i < 12; ++i) {
            const float degrees = i == 10 ? 10.0f : 30.0f;
            last = coAppendPiece<coCoasterPieceShallowTurn>([&](coCoasterPieceShallowTurn& p) {
                p.SetAngle(coDegrees(degrees));
                p.SetRunLength(20.0f * degrees / 30.0f);
            });
        }
        if (selected)
            coSelectionSetPiece(last);
        ASSERT_TRUE(coCircuitEndMeetsStart());
        builder.removed.clear();
        EXPECT_TRUE(coCircuitTryClose());
        auto* replacement = dynamic_cast<coCoasterPieceSTurn*>(coCircuitLastPiece());
        ASSERT_NE(replacement, nullptr);
        EXPECT_EQ(std::tuple(coCircuitPieceCount(), builder.removed.size(), replacement->HasEndHeading()),
                  std::tuple(13, 1u, true));
        EXPECT_EQ(coSelectionGetObject(), selected ? replacement : nullptr);
        EXPECT_EQ(park.propsMovedTo, std::vector<coCoasterPiece*>{replacement});
        EXPECT_LT(coCircuitGap(), 1e-3f);
    }
}

TEST_F(coPlacementTest, TheFirstPieceKeepsItsLengthWhenTheHeightStepFails) {
    // A stadium back to the start, a short Straight, and a level run that keeps no attitude of its
    // own (an Up pitched a quarter turn down), ending 5.5 past the start and about 2.4 below it.
    coAppendStraight(40.0f, coElementNone, false);
    coAppendTurn(coDegrees(180.0f), 10.0f, coElementNone, false);
    auto* back = coAppendStraight(40.0f, coElementNone, false);
    coAppendTurn(coDegrees(180.0f), 10.0f, coElementNone, false);
    coAppendStraight(0.5f, coElementNone, false);
    auto* run = coAppendPiece<coCoasterPieceUp>(
        [](coCoasterPieceUp& p) {
            p.SetRunLength(5.0f);
            p.SetSlope(-maHalfPiF);
        },
        false);
    back->SetSlope(-0.06f);
    coCircuitReflowFrom(back, false);
    auto* first = static_cast<coCoasterPieceStraight*>(coCircuitFirstPiece());
    ASSERT_NEAR(run->GetEnd().z, 5.5f, 1e-4f);
    ASSERT_LT(run->GetEnd().y, 2.0f - 0.5f * std::tan(coDegrees(75.0f)));
    // The gap ahead would lengthen the first piece, but the short Straight cannot take the height.
    EXPECT_FALSE(coFitEndToPiece(run, first));
    EXPECT_EQ(first->GetRunLength(), 40.0f);
}

} // namespace
