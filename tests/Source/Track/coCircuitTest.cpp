#include "Source/Track/coCircuit.h"

#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coPlacement.h"
#include "coCircuitTestSupport.h"

#include <limits>

namespace {
using coCircuitTest = coCircuitFixture;

TEST_F(coCircuitTest, AppendKeepsTheFirstPieceWhereItIsAndChainsTheRest) {
    auto* first = coAppendPiece<coCoasterPieceStraight>([](coCoasterPieceStraight& p) {
        p.SetRunLength(20.0f);
        p.Place(maVector3d(5.0f, 7.0f, -3.0f), 1.0f);
    });
    EXPECT_EQ(first->GetStart().x, 5.0f);
    EXPECT_EQ(first->GetHeading(), 1.0f);
    auto* turn = coAppendTurn(coDegrees(90.0f), 15.0f);
    const maVector3d end = first->GetEnd();
    EXPECT_EQ(turn->GetStart().x, end.x);
    EXPECT_EQ(turn->GetStart().z, end.z);
    EXPECT_EQ(turn->GetHeading(), first->GetEndHeading());
    EXPECT_EQ(first->GetNext(), turn);
    EXPECT_EQ(turn->GetPrevious(), first);
    EXPECT_EQ(turn->GetNext(), nullptr);
    EXPECT_EQ(first->GetPrevious(), nullptr);
    EXPECT_EQ(coCircuitPieceCount(), 2);
    ASSERT_EQ(builder.rebuilt.size(), 2u);
    EXPECT_EQ(builder.rebuilt[1], std::make_pair(static_cast<coCoasterPiece*>(turn), 2));

    coCircuitAppend(nullptr, true);
    EXPECT_EQ(coCircuitPieceCount(), 2);
}

TEST_F(coCircuitTest, AppendingToAClosedCircuitOpensItFirst) {
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    ASSERT_TRUE(coCircuitIsClosed());
    coCoasterPiece* oldLast = coCircuitLastPiece();
    auto* added = coAppendStraight(10.0f);
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), nullptr);
    EXPECT_EQ(added->GetNext(), nullptr);
    EXPECT_EQ(added->GetPrevious(), oldLast);
    EXPECT_TRUE(coCircuitLinksAgree());
}

TEST_F(coCircuitTest, InsertAfterReplacesTheFollowingPieces) {
    auto* a = coAppendStraight(20.0f);
    auto* b = coAppendTurn(coDegrees(90.0f), 15.0f);
    auto* c = coAppendStraight(20.0f);
    const maVector3d oldEnd = c->GetEnd();

    auto inserted = std::make_unique<coCoasterPieceStraight>();
    inserted->SetRunLength(10.0f);
    coCoasterPieceStraight* raw = inserted.get();
    EXPECT_TRUE(coCircuitInsertAfter(std::move(inserted), a, true));
    EXPECT_EQ(coCircuitIndexOf(raw), 1);
    EXPECT_TRUE(coCircuitLinksAgree());
    EXPECT_EQ(b->GetStart().z, raw->GetEnd().z);
    // The Turn moved 10 ahead and everything after it with it.
    EXPECT_NEAR(c->GetEnd().z, oldEnd.z + 10.0f, 1e-4f);
    EXPECT_NEAR(c->GetEnd().x, oldEnd.x, 1e-4f);

    EXPECT_FALSE(coCircuitInsertAfter(nullptr, a, true));
    // A null or foreign predecessor appends.
    EXPECT_TRUE(coCircuitInsertAfter(std::make_unique<coCoasterPieceStraight>(), nullptr, true));
    coCoasterPieceStraight foreign;
    EXPECT_TRUE(coCircuitInsertAfter(std::make_unique<coCoasterPieceStraight>(), &foreign, true));
    EXPECT_EQ(coCircuitPieceCount(), 6);
    EXPECT_TRUE(coCircuitLinksAgree());
}

TEST_F(coCircuitTest, InsertingAfterTheLastPieceOfAClosedCircuitAppends) {
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    const auto before = coCircuitPoses();
    coCoasterPiece* last = coCircuitLastPiece();
    auto piece = std::make_unique<coCoasterPieceStraight>();
    coCoasterPiece* raw = piece.get();
    EXPECT_TRUE(coCircuitInsertAfter(std::move(piece), last, true));
    EXPECT_EQ(coCircuitLastPiece(), raw);
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), nullptr);
    EXPECT_EQ(raw->GetNext(), nullptr);
    // The track is not torn: every old piece stays where it was.
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(coPiecePose(*coCircuitPieceAt(static_cast<int>(i))) == before[i]) << i;
    EXPECT_TRUE(coCircuitLinksAgree());
}

TEST_F(coCircuitTest, AFailedInsertPutsTheFollowingPiecesBackBitForBit) {
    park.maxZ = 80.0f;
    auto* a = coAppendStraight(20.0f);
    coAppendTurn(coDegrees(90.0f), 15.0f);
    coAppendStraight(20.0f);
    coAppendTurn(coDegrees(-90.0f), 15.0f);
    coAppendStraight(10.0f);
    const auto before = coCircuitPoses();

    // Forty more ahead of the first Turn carries the last piece's start to z = 90.
    auto inserted = std::make_unique<coCoasterPieceStraight>();
    inserted->SetRunLength(40.0f);
    coCoasterPiece* raw = inserted.get();
    EXPECT_FALSE(coCircuitInsertAfter(std::move(inserted), a, true));
    EXPECT_EQ(coCircuitIndexOf(raw), -1);
    EXPECT_NE(std::find(builder.removed.begin(), builder.removed.end(), raw), builder.removed.end());
    ASSERT_EQ(coCircuitPieceCount(), 5);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(coPiecePose(*coCircuitPieceAt(static_cast<int>(i))) == before[i]) << i;
    EXPECT_TRUE(coCircuitLinksAgree());
}

TEST_F(coCircuitTest, RemoveLastOpensAClosedCircuitAndTellsTheOtherSubsystems) {
    coCircuitRemoveLast();
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    coCoasterPiece* last = coCircuitLastPiece();
    coCoasterPiece* newLast = last->GetPrevious();
    coCircuitRemoveLast();
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), nullptr);
    EXPECT_EQ(coCircuitLastPiece(), newLast);
    EXPECT_EQ(newLast->GetNext(), nullptr);
    EXPECT_EQ(builder.removed.back(), last);
    EXPECT_EQ(builder.flags.back(), std::make_pair(last, false));
    EXPECT_EQ(park.propsRemovedOn.back(), last);
}

TEST_F(coCircuitTest, RemovePieceClosesUpBehindThePredecessor) {
    auto* a = coAppendStraight(20.0f);
    auto* b = coAppendStraight(15.0f);
    auto* c = coAppendTurn(coDegrees(90.0f), 15.0f);
    coCircuitRemovePiece(b);
    EXPECT_EQ(coCircuitPieceCount(), 2);
    EXPECT_EQ(a->GetNext(), c);
    EXPECT_EQ(c->GetPrevious(), a);
    EXPECT_EQ(c->GetStart().z, a->GetEnd().z);
    EXPECT_EQ(builder.rebuilt.back(), std::make_pair(static_cast<coCoasterPiece*>(c), 2));

    coCoasterPieceStraight foreign;
    coCircuitRemovePiece(&foreign);
    EXPECT_EQ(coCircuitPieceCount(), 2);
}

TEST_F(coCircuitTest, RemovingTheFirstPieceLeavesItsSuccessorFirstWhereItIs) {
    auto* a = coAppendStraight(20.0f);
    auto* b = coAppendTurn(coDegrees(90.0f), 15.0f);
    auto* c = coAppendStraight(20.0f);
    const coPiecePose bBefore(*b);
    const coPiecePose cBefore(*c);
    coCircuitRemovePiece(a);
    EXPECT_EQ(coCircuitFirstPiece(), b);
    EXPECT_EQ(b->GetPrevious(), nullptr);
    EXPECT_EQ(b->GetStart().z, bBefore.start.z);
    EXPECT_EQ(b->GetEnd().x, bBefore.end.x);
    EXPECT_TRUE(coPiecePose(*c) == cBefore);

    // In a closed circuit the first piece's predecessor is the last piece: it is unlinked.
    coCircuitClear();
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    coCoasterPiece* second = coCircuitPieceAt(1);
    coCircuitRemovePiece(coCircuitFirstPiece());
    EXPECT_EQ(coCircuitFirstPiece(), second);
    EXPECT_EQ(second->GetPrevious(), nullptr);
    EXPECT_EQ(coCircuitLastPiece()->GetNext(), nullptr);
    EXPECT_FALSE(coCircuitIsClosed());
}

TEST_F(coCircuitTest, RemovingAMiddlePieceOfAClosedCircuitKeepsTheLastToFirstLinks) {
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    coCircuitRemovePiece(coCircuitPieceAt(3));
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitLastPiece()->GetNext(), coCircuitFirstPiece());
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), coCircuitLastPiece());
}

// A Straight of 20 and a U-turn of radius 10 out and back, the last Straight `length` long: the end
// lies 20 - length short of the start.
void BuildHairpin(float length) {
    coAppendStraight(20.0f);
    coAppendTurn(coDegrees(180.0f), 10.0f);
    coAppendStraight(length);
    coAppendTurn(coDegrees(180.0f), 10.0f);
}

TEST_F(coCircuitTest, CloseJoinsAGapBelowOneAndLeavesALargerOneOpen) {
    BuildHairpin(19.1f);
    ASSERT_NEAR(coCircuitGap(), 0.9f, 1e-4f);
    coCircuitClose();
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitLastPiece()->GetNext(), coCircuitFirstPiece());
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), coCircuitLastPiece());
    EXPECT_NEAR(coCircuitGap(), 0.9f, 1e-4f);

    coCircuitClear();
    BuildHairpin(18.99f);
    ASSERT_NEAR(coCircuitGap(), 1.01f, 1e-4f);
    coCircuitClose();
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitLastPiece()->GetNext(), nullptr);
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), nullptr);
}

TEST_F(coCircuitTest, CloseClosesR1AsBuilt) {
    coBuildR1();
    EXPECT_NEAR(coCircuitTotalLength(), 174.221f, 1e-3f);
    coCircuitClose();
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_LT(coCircuitGap(), 1e-4f);
    // Closing again keeps it closed and linked.
    coCircuitClose();
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(coCircuitLastPiece()->GetNext(), coCircuitFirstPiece());
    EXPECT_EQ(coCircuitFirstPiece()->GetPrevious(), coCircuitLastPiece());
}

TEST_F(coCircuitTest, CloseMovesTheTrackAndTheDockWithTheFirstPiece) {
    coFakeDock dock;
    park.dock = &dock;
    BuildHairpin(19.5f);
    dock.PlaceAtPiece(*coCircuitFirstPiece());
    const coWorldBox before = dock.GetBox();
    const maVector3d oldEnd = coCircuitLastPiece()->GetEnd();
    coCircuitClose();
    EXPECT_TRUE(coCircuitIsClosed());
    // The first piece now starts where the last one ended.
    EXPECT_NEAR(coCircuitFirstPiece()->GetStart().z, oldEnd.z, 1e-5f);
    EXPECT_NEAR(dock.position.z, oldEnd.z, 1e-5f);
    ASSERT_EQ(builder.nearBoxes.size(), 1u);
    EXPECT_EQ(builder.nearBoxes[0][4], std::min(before[4], dock.GetBox()[4]));
    EXPECT_EQ(builder.nearBoxes[0][5], std::max(before[5], dock.GetBox()[5]));

    // A one-piece circuit cannot close.
    coCircuitClear();
    coAppendStraight(20.0f);
    coCircuitClose();
    EXPECT_FALSE(coCircuitIsClosed());
}

TEST_F(coCircuitTest, PieceAtDistanceWrapsRoundTheCircuit) {
    EXPECT_EQ(coCircuitPieceAtDistance(5.0f), nullptr);
    coBuildR1();
    const float total = coCircuitTotalLength();
    EXPECT_NEAR(total, 174.221f, 1e-3f);
    EXPECT_EQ(coCircuitPieceAtDistance(total), coCircuitFirstPiece());
    EXPECT_EQ(coCircuitPieceAtDistance(0.0f), coCircuitFirstPiece());
    // A distance on a joint belongs to the following piece.
    EXPECT_EQ(coCircuitPieceAtDistance(coCircuitPieceAt(0)->GetLength()), coCircuitPieceAt(1));
    EXPECT_EQ(coCircuitPieceAtDistance(-1.0f), coCircuitLastPiece());
    EXPECT_EQ(coCircuitPieceAtDistance(total * 1000.0f + 1.0f), coCircuitFirstPiece());
    // Far and non-finite distances end at once.
    EXPECT_NE(coCircuitPieceAtDistance(3e38f), nullptr);
    EXPECT_NE(coCircuitPieceAtDistance(-std::numeric_limits<float>::infinity()), nullptr);
    EXPECT_NE(coCircuitPieceAtDistance(std::numeric_limits<float>::quiet_NaN()), nullptr);
}

TEST_F(coCircuitTest, PieceAtDistanceWithoutAPositiveTotalGivesTheLastPiece) {
    coAppendStraight(20.0f);
    coAppendStraight(10.0f);
    // The total is stored only when asked for: still 0 here.
    EXPECT_EQ(coCircuitPieceAtDistance(5.0f), coCircuitLastPiece());
    coCircuitTotalLength();
    EXPECT_EQ(coCircuitPieceAtDistance(5.0f), coCircuitFirstPiece());
    coCircuitResetFlags();
    EXPECT_EQ(coCircuitPieceAtDistance(5.0f), coCircuitLastPiece());
}

TEST_F(coCircuitTest, JoinFitsTakesItsBoundsInclusively) {
    const maVector3d end(0.0f, 0.0f, 0.0f);
    const maVector3d ahead(0.0f, 0.0f, 10.0f);
    EXPECT_TRUE(coCircuitJoinFits(ahead, maPiF / 4.0f, end, 0.0f, 5.0f, 20.0f));
    EXPECT_FALSE(coCircuitJoinFits(ahead, std::nextafter(maPiF / 4.0f, 1.0f), end, 0.0f, 5.0f, 20.0f));
    EXPECT_TRUE(coCircuitJoinFits(ahead, maTwoPiF, end, 0.0f, 5.0f, 20.0f));
    EXPECT_FALSE(coCircuitJoinFits(maVector3d(0.0f, 0.0f, 4.9f), 0.0f, end, 0.0f, 5.0f, 20.0f));
    EXPECT_TRUE(coCircuitJoinFits(maVector3d(0.0f, 0.0f, 20.0f), 0.0f, end, 0.0f, 5.0f, 20.0f));
    EXPECT_FALSE(coCircuitJoinFits(maVector3d(12.0f, 0.0f, 20.0f), 0.0f, end, 0.0f, 5.0f, 20.0f));
    EXPECT_FALSE(coCircuitJoinFits(ahead, std::numeric_limits<float>::quiet_NaN(), end, 0.0f, 5.0f, 20.0f));

    maVector3d point;
    EXPECT_FALSE(coCircuitFindJoinPoint(5.0f, 20.0f, point));
    BuildHairpin(30.0f);
    ASSERT_TRUE(coCircuitFindJoinPoint(5.0f, 20.0f, point));
    EXPECT_EQ(point.z, coCircuitFirstPiece()->GetStart().z);
}

TEST_F(coCircuitTest, TheWorldBoxHasNoFloorAndInclusiveBounds) {
    park.minX = -50.0f;
    park.maxX = 50.0f;
    park.minZ = -50.0f;
    park.maxZ = 50.0f;
    EXPECT_FALSE(coPointOutsideWorld(maVector3d(50.0f, 200.0f, -50.0f)));
    EXPECT_FALSE(coPointOutsideWorld(maVector3d(0.0f, -1e6f, 0.0f)));
    EXPECT_TRUE(coPointOutsideWorld(maVector3d(0.0f, 200.01f, 0.0f)));
    EXPECT_TRUE(coPointOutsideWorld(maVector3d(50.01f, 0.0f, 0.0f)));
    EXPECT_TRUE(coPointOutsideWorld(maVector3d(0.0f, 0.0f, -50.01f)));

    EXPECT_TRUE(coCircuitInsideWorld());
    coAppendStraight(80.0f);
    // One piece: its end has no successor and is not tested.
    EXPECT_TRUE(coCircuitInsideWorld());
    coAppendStraight(5.0f);
    EXPECT_FALSE(coCircuitInsideWorld());
}

TEST_F(coCircuitTest, ReflowReplacesEveryFollowingPieceAndReportsStartsOutside) {
    EXPECT_FALSE(coCircuitReflowFrom(nullptr, true));
    park.maxZ = 50.0f;
    auto* a = coAppendStraight(20.0f);
    auto* b = coAppendStraight(20.0f);
    auto* c = coAppendStraight(20.0f);
    a->SetRunLength(40.0f);
    a->Build();
    EXPECT_FALSE(coCircuitReflowFrom(a, true));
    EXPECT_EQ(b->GetStart().z, 40.0f);
    EXPECT_EQ(c->GetStart().z, 60.0f);
    EXPECT_EQ(builder.rebuilt.back(), std::make_pair(static_cast<coCoasterPiece*>(a), 2));
    // The last piece's end is not tested.
    a->SetRunLength(20.0f);
    a->Build();
    EXPECT_TRUE(coCircuitReflowFrom(a, false));
}

TEST_F(coCircuitTest, RebuildFromListChainsLoadedPiecesFromTheStartPosition) {
    coAppendStraight(10.0f);
    std::vector<std::unique_ptr<coCoasterPiece>> loaded;
    loaded.push_back(std::make_unique<coCoasterPieceStraight>());
    loaded.push_back(std::make_unique<coCoasterPieceTurn>());
    loaded.push_back(std::make_unique<coCoasterPieceShallowTurn>());
    coCoasterPiece* first = loaded[0].get();
    coCircuitRebuildFromList(std::move(loaded));
    EXPECT_EQ(builder.removed.size(), 1u);
    ASSERT_EQ(coCircuitPieceCount(), 3);
    EXPECT_EQ(coCircuitFirstPiece(), first);
    EXPECT_EQ(first->GetStart().x, park.startPosition.x);
    EXPECT_EQ(first->GetStart().z, park.startPosition.z);
    EXPECT_EQ(coCircuitPieceAt(2)->GetStart().x, coCircuitPieceAt(1)->GetEnd().x);
    EXPECT_TRUE(coCircuitLinksAgree());
    EXPECT_FALSE(coCircuitIsClosed());

    // A first piece that was placed keeps its place.
    std::vector<std::unique_ptr<coCoasterPiece>> placed;
    placed.push_back(std::make_unique<coCoasterPieceStraight>());
    placed[0]->Place(maVector3d(1.0f, 2.0f, 3.0f), 0.5f);
    coCircuitRebuildFromList(std::move(placed));
    EXPECT_EQ(coCircuitFirstPiece()->GetStart().x, 1.0f);
    EXPECT_EQ(coCircuitFirstPiece()->GetHeading(), 0.5f);

    coCircuitRebuildFromList({});
    EXPECT_EQ(coCircuitPieceCount(), 0);
}

TEST_F(coCircuitTest, ClearEmptiesAndKeepsTheThemeName) {
    coSetThemeName("Ironvale");
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    coCircuitTotalLength();
    coCircuitRebuildSupports();
    EXPECT_EQ(builder.supports.back(), coCircuitFirstPiece());
    coCircuitClear();
    EXPECT_EQ(coCircuitPieceCount(), 0);
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(builder.removed.size(), 8u);
    EXPECT_EQ(coCircuitPieceAtDistance(1.0f), nullptr);
    EXPECT_EQ(coGetThemeName(), "Ironvale");
    coCircuitRebuildSupports();
    EXPECT_EQ(builder.supports.size(), 1u);
}
} // namespace
