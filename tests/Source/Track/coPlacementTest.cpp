#include "Source/Track/coPlacement.h"

#include "Source/Track/coCoasterPieceCustom.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceUp.h"
#include "Source/Track/coPieceLimits.h"
#include "coCircuitTestSupport.h"

namespace {
using coPlacementTest = coCircuitFixture;

TEST(coPlacementKinds, KindCodesFollowTheClassAndTheTurnsDirection) {
    coCoasterPieceTurn left;
    left.SetAngle(-1.0f);
    coCoasterPieceTurn none;
    none.SetAngle(0.0f);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceStraight()), 0);
    EXPECT_EQ(coPieceKindCode(left), 1);
    EXPECT_EQ(coPieceKindCode(none), 1);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceTurn()), 2);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceShallowTurn()), 3);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceSTurn()), 3);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceLoop()), 3);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceCorkscrew()), 3);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceCustom()), 3);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceHalfCorkscrew()), 4);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceHalfLoop()), 4);
    EXPECT_EQ(coPieceKindCode(coCoasterPieceUp()), 5);
}

TEST_F(coPlacementTest, APieceOfTheSameKindContinuesBankAndPitch) {
    coAppendStraight(20.0f);
    auto* a = coAppendStraight(20.0f);
    // Never matched to the first piece.
    EXPECT_EQ(a->GetRoll(0), 0.0f);
    a->SetRoll(0.3f);
    a->SetSlope(0.1f);
    auto* b = coAppendStraight(20.0f);
    EXPECT_EQ(b->GetRoll(0), 0.3f);
    EXPECT_EQ(b->GetBaseSlope(), 0.1f);
    // A piece raised clear of the terrain passes on its bank but not its pitch.
    b->SetRaised(true);
    auto* c = coAppendStraight(20.0f);
    EXPECT_EQ(c->GetRoll(0), 0.3f);
    EXPECT_EQ(c->GetBaseSlope(), 0.0f);
    // Without matching nothing is taken over.
    auto* d = coAppendStraight(20.0f, coElementNone, false);
    EXPECT_EQ(d->GetRoll(0), 0.0f);
}

TEST_F(coPlacementTest, ATurnTheOtherWayTakesOnlyTheRadius) {
    coAppendStraight(20.0f);
    auto* right = coAppendTurn(coDegrees(90.0f), 20.0f);
    right->SetRoll(0.2f);
    right->SetSlope(0.05f);
    auto* left = coAppendTurn(coDegrees(-90.0f), 15.0f);
    EXPECT_EQ(left->GetRadius(), 20.0f);
    EXPECT_EQ(left->GetRoll(0), 0.0f);
    EXPECT_EQ(left->GetBaseSlope(), 0.0f);
    EXPECT_EQ(left->GetAngle(), coDegrees(-90.0f));
    auto* sameWay = coAppendTurn(coDegrees(-45.0f), 30.0f);
    left->SetRoll(-0.2f);
    auto* sameAgain = coAppendTurn(coDegrees(-45.0f), 30.0f);
    EXPECT_EQ(sameWay->GetRadius(), 20.0f);
    EXPECT_EQ(sameAgain->GetRoll(0), sameWay->GetRoll(0));
    EXPECT_NEAR(sameAgain->GetStart().x, sameWay->GetEnd().x, 1e-5f);
}

TEST_F(coPlacementTest, AClimbAfterADescentDescends) {
    coAppendStraight(20.0f);
    auto* level = coAppendStraight(20.0f);
    auto* up = coAppendPiece<coCoasterPieceUp>([](coCoasterPieceUp&) {});
    EXPECT_FALSE(up->IsDown());
    // After a climb (end slope +90 degrees) the next Up climbs too, and takes its bank.
    up->SetRoll(0.5f);
    auto* climb = coAppendPiece<coCoasterPieceUp>([](coCoasterPieceUp&) {});
    EXPECT_FALSE(climb->IsDown());
    EXPECT_EQ(climb->GetRoll(0), 0.5f);

    coCircuitRemoveLast();
    coCircuitRemoveLast();
    level->SetSlope(-0.2f);
    auto* down = coAppendPiece<coCoasterPieceUp>([](coCoasterPieceUp&) {});
    EXPECT_TRUE(down->IsDown());
    auto* following = coAppendPiece<coCoasterPieceUp>([](coCoasterPieceUp&) {});
    EXPECT_TRUE(following->IsDown());
}

TEST_F(coPlacementTest, ChainedHalfLoopsFlipOnlyAfterAnInvertedEnd) {
    coAppendStraight(20.0f);
    coAppendStraight(20.0f);
    auto* first = coAppendPiece<coCoasterPieceHalfLoop>([](coCoasterPieceHalfLoop&) {});
    ASSERT_TRUE(coEndsInverted(*first));
    auto* second = coAppendPiece<coCoasterPieceHalfLoop>([](coCoasterPieceHalfLoop&) {});
    EXPECT_TRUE(second->IsInverted());
    EXPECT_FLOAT_EQ(second->GetRoll(0), maPiF);
    // The second ends the right way up again (roll pi + pi): the third is left as it is.
    ASSERT_FALSE(coEndsInverted(*second));
    auto* third = coAppendPiece<coCoasterPieceHalfLoop>([](coCoasterPieceHalfLoop&) {});
    EXPECT_FALSE(third->IsInverted());
    EXPECT_EQ(third->GetRoll(0), 0.0f);
    EXPECT_EQ(third->GetHeight(), 26.0f);
}

TEST_F(coPlacementTest, AnythingAfterAnInvertedEndIsTurnedUpsideDown) {
    coAppendStraight(20.0f);
    auto* a = coAppendStraight(20.0f);
    a->SetRoll(coDegrees(150.0f));
    ASSERT_TRUE(coEndsInverted(*a));
    auto* turn = coAppendTurn(coDegrees(90.0f), 15.0f);
    EXPECT_EQ(turn->GetRoll(0), maPiF);

    coCoasterPieceStraight steep;
    steep.SetRoll(maPiF);
    steep.SetSlope(coDegrees(80.0f));
    EXPECT_TRUE(coEndsInverted(steep));
    steep.SetSlope(coDegrees(81.0f));
    EXPECT_FALSE(coEndsInverted(steep));
    steep.SetSlope(0.0f);
    steep.SetRoll(coDegrees(145.0f));
    EXPECT_FALSE(coEndsInverted(steep));
}

TEST_F(coPlacementTest, CorkscrewsAndLoopsChainWithEqualShape) {
    coAppendStraight(20.0f);
    auto* banked = coAppendStraight(20.0f);
    banked->SetRoll(-0.1f);
    auto* corkscrew = coAppendPiece<coCoasterPieceCorkscrew>([](coCoasterPieceCorkscrew&) {});
    EXPECT_EQ(corkscrew->GetApproachAngle(), -coDegrees(30.0f));
    corkscrew->SetRunLength(40.0f);
    corkscrew->SetRadius(10.0f);
    auto* next = coAppendPiece<coCoasterPieceCorkscrew>([](coCoasterPieceCorkscrew&) {});
    EXPECT_EQ(next->GetApproachAngle(), -coDegrees(30.0f));
    EXPECT_EQ(next->GetRunLength(), 40.0f);
    EXPECT_EQ(next->GetRadius(), 10.0f);

    auto* loop = coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop& p) {
        p.SetRunLength(40.0f);
        p.SetHeight(44.0f);
    });
    auto* nextLoop = coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop&) {});
    EXPECT_EQ(nextLoop->GetRunLength(), loop->GetRunLength());
    EXPECT_EQ(nextLoop->GetHeight(), 44.0f);
}

TEST_F(coPlacementTest, TheLiftRaisesAPieceOverTheHill) {
    park.hillCentre = maVector3d(0.0f, 0.0f, 40.0f);
    park.hillRadius = 15.0f;
    coAppendStraight(10.0f);
    // No terrain: nothing happens.
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
    halfLoop.Place(maVector3d(0.0f, 2.0f, 10.0f), 0.0f);
    EXPECT_FALSE(coLiftClearOfTerrain(&halfLoop));
    coCoasterPieceUp up;
    up.Place(maVector3d(0.0f, 2.0f, 10.0f), 0.0f);
    EXPECT_FALSE(coLiftClearOfTerrain(&up));
}

TEST_F(coPlacementTest, TheLiftGivesUpBelowTheWorldCeiling) {
    park.hasTerrain = true;
    park.hillCentre = maVector3d(0.0f, 0.0f, 30.0f);
    park.hillHeight = 500.0f;
    coAppendStraight(10.0f);
    auto* piece = coAppendStraight(20.0f);
    EXPECT_FALSE(piece->IsRaised());
    EXPECT_EQ(piece->GetBaseSlope(), 0.0f);
    // Terrain and piece so deep that stepping up by 1.0 no longer changes the height.
    park.groundLevel = -1e9f;
    coCoasterPieceStraight deep;
    deep.SetRunLength(20.0f);
    deep.Place(maVector3d(0.0f, -1e9f, 100.0f), 0.0f);
    EXPECT_FALSE(coLiftClearOfTerrain(&deep));
}

TEST_F(coPlacementTest, SetEndHeightStopsShortOfTheClassSlopeLimit) {
    auto* piece = coAppendStraight(20.0f);
    EXPECT_TRUE(coSetEndHeight(piece, 12.0f));
    EXPECT_NEAR(piece->GetEnd().y, 12.0f, 1e-5f);
    // The height whose slope is exactly 75 degrees is refused; one step lower is taken.
    const float limit = MaxSlopeFor(*piece);
    float y = 2.0f + 20.0f * std::tan(limit);
    for (int i = 0; i < 1000 && std::atan((y - 2.0f) / 20.0f) < limit; ++i)
        y = std::nextafter(y, 1e9f);
    for (int i = 0; i < 1000 && std::atan((y - 2.0f) / 20.0f) > limit; ++i)
        y = std::nextafter(y, -1e9f);
    ASSERT_EQ(std::atan((y - 2.0f) / 20.0f), limit);
    EXPECT_FALSE(coSetEndHeight(piece, y));
    float below = y;
    while (std::atan((below - 2.0f) / 20.0f) >= limit)
        below = std::nextafter(below, -1e9f);
    EXPECT_TRUE(coSetEndHeight(piece, below));

    piece->SetRunLength(0.0f);
    EXPECT_FALSE(coSetEndHeight(piece, 3.0f));
    piece->SetRunLength(20.0f);
    EXPECT_FALSE(coSetEndHeight(piece, std::numeric_limits<float>::quiet_NaN()));
}

TEST_F(coPlacementTest, EndNearPoseTakesItsTolerancesInclusively) {
    coCoasterPieceStraight lone;
    lone.Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
    EXPECT_FALSE(coEndNearPose(lone, lone.GetEnd(), 0.0f));
    coAppendStraight(20.0f);
    auto* last = coAppendStraight(20.0f);
    const maVector3d end = last->GetEnd();
    const maVector3d point = end + maVector3d(6.0f, 8.0f, 8.0f);
    EXPECT_TRUE(coEndNearPose(*last, point, coDegrees(30.0f)));
    EXPECT_TRUE(coEndNearPose(*last, point, -coDegrees(30.0f)));
    EXPECT_FALSE(coEndNearPose(*last, point, std::nextafter(coDegrees(30.0f), 1.0f)));
    EXPECT_FALSE(coEndNearPose(*last, end + maVector3d(6.0f, 8.01f, 8.0f), 0.0f));
    EXPECT_FALSE(coEndNearPose(*last, end + maVector3d(6.01f, 0.0f, 8.0f), 0.0f));
}

TEST_F(coPlacementTest, FixByDragWithNoOffsetChangesNothing) {
    coBuildR1();
    const auto before = coCircuitPoses();
    EXPECT_TRUE(coFixByDrag(maVector3d(0.0f, 0.0f, 0.0f), 0.75f));
    EXPECT_TRUE(coCircuitPoses() == before);
    EXPECT_TRUE(builder.rebuilt.size() == 8u);
}

TEST_F(coPlacementTest, FixByDragTakesAtMostAThirdOfTheDraggablePieceAtATime) {
    coAppendStraight(20.0f);
    auto* straight = coAppendStraight(20.0f);
    coAppendTurn(coDegrees(90.0f), 15.0f);
    EXPECT_TRUE(coFixByDrag(maVector3d(0.0f, 0.0f, 5.0f), 0.75f));
    EXPECT_EQ(straight->GetRunLength(), 25.0f);
    EXPECT_FALSE(coFixByDrag(maVector3d(0.0f, 0.0f, -10.0f), 0.75f));
    EXPECT_EQ(straight->GetRunLength(), 17.5f);
    // Nothing that can move the end along x: the Turn's chord is 45 degrees off.
    const auto before = coCircuitPoses();
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

TEST_F(coPlacementTest, TryCloseClosesR1AsBuilt) {
    coBuildR1();
    EXPECT_NEAR(coCircuitTotalLength(), 174.221f, 1e-3f);
    ASSERT_TRUE(coCircuitEndMeetsStart());
    EXPECT_TRUE(coCircuitTryClose());
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_LT(coCircuitGap(), 1e-4f);
    EXPECT_EQ(coCircuitLastPiece()->GetNext(), coCircuitFirstPiece());
    EXPECT_NEAR(coCircuitTotalLength(), 174.221f, 1e-3f);
    EXPECT_EQ(coCircuitPieceCount(), 8);
    EXPECT_TRUE(coCircuitTryClose());
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), coCircuitLastPiece());
}

TEST_F(coPlacementTest, TryCloseClosesR1WithAnyStraightTwoUnitsOff) {
    for (int i = 0; i < 4; ++i) {
        for (float error : {-2.0f, 2.0f}) {
            coCircuitClear();
            float lengths[4] = {20.0f, 20.0f, 20.0f, 20.0f};
            lengths[i] += error;
            coBuildR1(lengths);
            EXPECT_TRUE(coCircuitTryClose()) << i << " " << error;
            EXPECT_TRUE(coCircuitIsClosed()) << i << " " << error;
            EXPECT_LT(coCircuitGap(), 1e-3f) << i << " " << error;
        }
    }
}

TEST_F(coPlacementTest, TryCloseTakesASidewaysAndAVerticalGapApart) {
    // The last Straight is one too long (one across the start) and the second climbs by about 1.
    coBuildR1({20.0f, 20.0f, 20.0f, 21.0f});
    coCoasterPiece* climb = coCircuitPieceAt(2);
    climb->SetSlope(0.05f);
    coCircuitReflowFrom(climb, true);
    ASSERT_NEAR(coCircuitLastPiece()->GetEnd().y - 2.0f, 20.0f * std::tan(0.05f), 1e-4f);
    EXPECT_TRUE(coCircuitTryClose());
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_LT(coCircuitGap(), 1e-3f);
    EXPECT_NEAR(static_cast<coCoasterPieceStraight*>(coCircuitPieceAt(6))->GetRunLength(), 20.0f, 1e-4f);
}

TEST_F(coPlacementTest, TryCloseNeedsTheEndNearTheStart) {
    coAppendStraight(20.0f);
    EXPECT_FALSE(coCircuitTryClose());
    coCircuitClear();
    coBuildR1({20.0f, 20.0f, 20.0f, 35.0f});
    EXPECT_FALSE(coCircuitEndMeetsStart());
    EXPECT_FALSE(coCircuitTryClose());
    EXPECT_FALSE(coCircuitIsClosed());
}

TEST_F(coPlacementTest, AShallowTurnThatCannotFitIsReplacedByAnSTurnThatTakesTheSelection) {
    // A Straight, then shallow turns through 340 degrees: no Turn to fix the last 20 degrees with. Once
    // with the last piece selected, once with nothing selected, which stays so.
    for (bool selected : {true, false}) {
        coCircuitClear();
        coSelectionClear();
        coAppendStraight(5.0f);
        coCoasterPieceShallowTurn* last = nullptr;
        for (float degrees :
             {30.0f, 30.0f, 30.0f, 30.0f, 30.0f, 30.0f, 30.0f, 30.0f, 30.0f, 30.0f, 10.0f, 30.0f}) {
            last = coAppendPiece<coCoasterPieceShallowTurn>([&](coCoasterPieceShallowTurn& p) {
                p.SetAngle(coDegrees(degrees));
                p.SetRunLength(20.0f * degrees / 30.0f);
            });
        }
        if (selected)
            coSelectionSetPiece(last);
        ASSERT_TRUE(coCircuitEndMeetsStart());
        const int count = coCircuitPieceCount();
        builder.removed.clear();
        EXPECT_TRUE(coCircuitTryClose());
        auto* replacement = dynamic_cast<coCoasterPieceSTurn*>(coCircuitLastPiece());
        ASSERT_NE(replacement, nullptr);
        EXPECT_EQ(coCircuitPieceCount(), count);
        EXPECT_EQ(coSelectionGetObject(), selected ? replacement : nullptr);
        EXPECT_TRUE(replacement->HasEndHeading());
        EXPECT_TRUE(coCircuitIsClosed());
        EXPECT_LT(coCircuitGap(), 1e-3f);
        EXPECT_EQ(builder.removed.size(), 1u);
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

TEST_F(coPlacementTest, PitchingAPieceRefitsTheNextAndLeavesTheRest) {
    coAppendStraight(20.0f);
    auto* a = coAppendStraight(20.0f);
    auto* b = coAppendStraight(20.0f);
    auto* c = coAppendTurn(coDegrees(90.0f), 15.0f);
    const coPiecePose cBefore(*c);
    const maVector3d bEnd = b->GetEnd();
    coPieceChangePitch(a, 0.1f);
    EXPECT_EQ(a->GetBaseSlope(), 0.1f);
    EXPECT_NEAR(b->GetEnd().y, bEnd.y, 1e-5f);
    EXPECT_LT(b->GetBaseSlope(), 0.0f);
    EXPECT_NEAR(c->GetStart().y, cBefore.start.y, 1e-5f);

    // The last piece has no followers: the circuit is re-placed after it.
    coPieceChangePitch(c, 0.2f);
    EXPECT_EQ(c->GetBaseSlope(), 0.2f);
    coPieceChangePitch(nullptr, 0.2f);

    // Pitching down into a rise: the lift brings the end up, but never steeper up than before.
    coPieceChangePitch(c, 0.0f);
    park.hasTerrain = true;
    park.hillCentre = c->GetEnd() + maVector3d(10.0f, 0.0f, 10.0f);
    park.hillRadius = 15.0f;
    park.hillHeight = 10.0f;
    coPieceChangePitch(c, -0.3f);
    EXPECT_TRUE(c->IsRaised());
    EXPECT_EQ(c->GetBaseSlope(), 0.0f);
}
} // namespace
