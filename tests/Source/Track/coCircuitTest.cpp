#include "Source/Track/coCircuit.h"

#include "Source/Track/coCircuitTestSupport.h"

#include <limits>
#include <random>
#include <tuple>

namespace {
using coCircuitTest = coCircuitFixture;

// A Straight of 20 and a U-turn of radius 10 out and back, the last Straight `length` long: the end
// lies 20 - length short of the start.
void BuildHairpin(float length) {
    coAppendStraight(20.0f);
    coAppendTurn(coDegrees(180.0f), 10.0f);
    coAppendStraight(length);
    coAppendTurn(coDegrees(180.0f), 10.0f);
}

std::unique_ptr<coCoasterPiece> StraightOf(float length) {
    auto piece = std::make_unique<coCoasterPieceStraight>();
    piece->SetRunLength(length);
    return piece;
}

TEST_F(coCircuitTest, AppendKeepsTheFirstPieceWhereItIsAndChainsTheRest) {
    auto* first = coAppendPiece<coCoasterPieceStraight>([](coCoasterPieceStraight& p) {
        p.SetRunLength(20.0f);
        p.Place(maVector3d(5.0f, 7.0f, -3.0f), 1.0f);
    });
    EXPECT_EQ(std::tuple(first->GetStart().x, first->GetHeading()), std::tuple(5.0f, 1.0f));
    auto* turn = coAppendTurn(coDegrees(90.0f), 15.0f);
    EXPECT_EQ(std::tuple(turn->GetStart().x, turn->GetStart().z, turn->GetHeading()),
              std::tuple(first->GetEnd().x, first->GetEnd().z, first->GetEndHeading()));
    EXPECT_TRUE(coCircuitLinksAgree());
    EXPECT_EQ(std::tuple(first->GetPrevious(), turn->GetNext()), std::tuple(nullptr, nullptr));
    ASSERT_EQ(builder.rebuilt.size(), 2u);
    EXPECT_EQ(builder.rebuilt[1], std::make_pair(static_cast<coCoasterPiece*>(turn), 2));
    coCircuitAppend(nullptr, true);
    EXPECT_EQ(coCircuitPieceCount(), 2);
}

TEST_F(coCircuitTest, AddingAfterTheLastPieceOfAClosedCircuitOpensItAndTearsNothing) {
    // Appending, and inserting after the last piece, which behaves as append.
    for (bool insert : {false, true}) {
        SCOPED_TRACE(insert ? "insert" : "append");
        coCircuitClear();
        coBuildR1();
        ASSERT_TRUE(coCircuitTryClose());
        const auto before = coCircuitPoses();
        coCoasterPiece* oldLast = coCircuitLastPiece();
        auto piece = StraightOf(10.0f);
        coCoasterPiece* added = piece.get();
        if (insert)
            EXPECT_TRUE(coCircuitInsertAfter(std::move(piece), oldLast, true));
        else
            coCircuitAppend(std::move(piece), true);
        EXPECT_FALSE(coCircuitIsClosed());
        EXPECT_EQ(std::tuple(coCircuitLastPiece(), added->GetPrevious()), std::tuple(added, oldLast));
        EXPECT_EQ(std::tuple(added->GetNext(), coCircuitFirstPiece()->GetPrevious()),
                  std::tuple(nullptr, nullptr));
        EXPECT_TRUE(coCircuitLinksAgree());
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_TRUE(coPiecePose(*coCircuitPieceAt(static_cast<int>(i))) == before[i]) << i;
    }
}

TEST_F(coCircuitTest, InsertAfterReplacesTheFollowingPiecesOrPutsThemBackBitForBit) {
    park.maxZ = 80.0f;
    auto* a = coAppendStraight(20.0f);
    coAppendTurn(coDegrees(90.0f), 15.0f);
    coAppendStraight(20.0f);
    coAppendTurn(coDegrees(-90.0f), 15.0f);
    coAppendStraight(10.0f);
    const auto before = coCircuitPoses();

    // Forty more ahead of the first Turn carries the last piece's start to z = 90, outside the park.
    auto inserted = StraightOf(40.0f);
    coCoasterPiece* raw = inserted.get();
    EXPECT_FALSE(coCircuitInsertAfter(std::move(inserted), a, true));
    EXPECT_EQ(coCircuitIndexOf(raw), -1);
    EXPECT_NE(std::find(builder.removed.begin(), builder.removed.end(), raw), builder.removed.end());
    EXPECT_EQ(std::tuple(coCircuitPoses() == before, coCircuitLinksAgree()), std::tuple(true, true));

    // Five more fit: the Turn and everything after it move 5 ahead.
    EXPECT_TRUE(coCircuitInsertAfter(StraightOf(5.0f), a, true));
    EXPECT_EQ(std::tuple(coCircuitIndexOf(a), coCircuitPieceCount()), std::tuple(0, 6));
    EXPECT_TRUE(coCircuitLinksAgree());
    EXPECT_NEAR(coCircuitLastPiece()->GetEnd().z, before.back().end.z + 5.0f, 1e-4f);
    EXPECT_NEAR(coCircuitLastPiece()->GetEnd().x, before.back().end.x, 1e-4f);

    EXPECT_FALSE(coCircuitInsertAfter(nullptr, a, true));
    // A null or foreign predecessor appends.
    coCoasterPieceStraight foreign;
    EXPECT_TRUE(coCircuitInsertAfter(StraightOf(1.0f), nullptr, true));
    EXPECT_TRUE(coCircuitInsertAfter(StraightOf(1.0f), &foreign, true));
    EXPECT_EQ(coCircuitPieceCount(), 8);
}

TEST_F(coCircuitTest, RemovingPiecesFromAClosedCircuitOpensIt) {
    // A middle piece: open, but the last-to-first links stay.
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    coCircuitRemovePiece(coCircuitPieceAt(3));
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(std::tuple(coCircuitLastPiece()->GetNext(), coCircuitFirstPiece()->GetPrevious()),
              std::tuple(coCircuitFirstPiece(), coCircuitLastPiece()));
    // The first piece: its predecessor, the last piece, is unlinked.
    coCoasterPiece* second = coCircuitPieceAt(1);
    coCircuitRemovePiece(coCircuitFirstPiece());
    EXPECT_EQ(std::tuple(coCircuitFirstPiece(), second->GetPrevious(), coCircuitLastPiece()->GetNext()),
              std::tuple(second, nullptr, nullptr));

    // The last piece: the circuit opens and the other subsystems hear of it.
    coCircuitClear();
    coCircuitRemoveLast(); // an empty circuit: nothing
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    coCoasterPiece* last = coCircuitLastPiece();
    coCoasterPiece* newLast = last->GetPrevious();
    coCircuitRemoveLast();
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(std::tuple(coCircuitFirstPiece()->GetPrevious(), newLast->GetNext()),
              std::tuple(nullptr, nullptr));
    EXPECT_EQ(coCircuitLastPiece(), newLast);
    EXPECT_EQ(std::tuple(builder.removed.back(), park.propsRemovedOn.back()), std::tuple(last, last));
    EXPECT_EQ(builder.flags.back(), std::make_pair(last, false));
}

TEST_F(coCircuitTest, RemovingFromAnOpenCircuitKeepsTheRestInPlace) {
    auto* a = coAppendStraight(20.0f);
    auto* b = coAppendTurn(coDegrees(90.0f), 15.0f);
    auto* c = coAppendStraight(15.0f);
    auto* d = coAppendTurn(coDegrees(90.0f), 15.0f);
    // The first piece: its successor becomes first and stays where it is.
    const coPiecePose bBefore(*b), dBefore(*d);
    coCircuitRemovePiece(a);
    EXPECT_EQ(std::tuple(coCircuitFirstPiece(), b->GetPrevious()), std::tuple(b, nullptr));
    EXPECT_EQ(std::tuple(b->GetStart().z, b->GetEnd().x), std::tuple(bBefore.start.z, bBefore.end.x));
    EXPECT_TRUE(coPiecePose(*d) == dBefore);
    // A middle piece: the next one closes up behind the predecessor.
    coCircuitRemovePiece(c);
    EXPECT_EQ(std::tuple(b->GetNext(), d->GetPrevious(), d->GetStart().x), std::tuple(d, b, b->GetEnd().x));
    EXPECT_EQ(builder.rebuilt.back(), std::make_pair(static_cast<coCoasterPiece*>(d), 2));
    coCoasterPieceStraight foreign;
    coCircuitRemovePiece(&foreign);
    EXPECT_EQ(coCircuitPieceCount(), 2);
}

TEST_F(coCircuitTest, CloseJoinsAGapBelowOneAndLeavesALargerOneOpen) {
    const struct {
        const char* name;
        void (*build)();
        float gap;
        bool closes;
    } cases[] = {
        {"gap 0.9", [] { BuildHairpin(19.1f); }, 0.9f, true},
        {"gap 1.01", [] { BuildHairpin(18.99f); }, 1.01f, false},
        {"R1", [] { coBuildR1(); }, 0.0f, true},
        {"one piece", [] { coAppendStraight(20.0f); }, 20.0f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        coCircuitClear();
        c.build();
        ASSERT_NEAR(coCircuitGap(), c.gap, 1e-4f);
        coCircuitClose();
        EXPECT_EQ(std::tuple(coCircuitIsClosed(), coCircuitLastPiece()->GetNext(),
                             coCircuitFirstPiece()->GetPrevious()),
                  std::tuple(c.closes, c.closes ? coCircuitFirstPiece() : nullptr,
                             c.closes ? coCircuitLastPiece() : nullptr));
        EXPECT_NEAR(coCircuitGap(), c.gap, 1e-4f);
        // Closing again changes nothing.
        coCircuitClose();
        EXPECT_EQ(coCircuitIsClosed(), c.closes);
    }
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

    // A circuit that closes but for rounding (a saved one loaded again) leaves the dock where it is.
    coCircuitClear();
    BuildHairpin(20.00002f);
    dock.PlaceAtPiece(*coCircuitFirstPiece());
    const maVector3d placed = dock.position;
    coCircuitClose();
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(std::tuple(dock.position.x, dock.position.y, dock.position.z),
              std::tuple(placed.x, placed.y, placed.z));
}

TEST_F(coCircuitTest, PieceAtDistanceWrapsRoundTheCircuitAndEndsForAnyDistance) {
    EXPECT_EQ(coCircuitPieceAtDistance(5.0f), nullptr);
    coBuildR1();
    // The total is stored only when asked for: without a positive total the last piece answers.
    EXPECT_EQ(coCircuitPieceAtDistance(5.0f), coCircuitLastPiece());
    const float total = coCircuitTotalLength();
    EXPECT_NEAR(total, 174.221f, 1e-3f);
    const struct {
        float distance;
        int piece;
    } cases[] = {{0.0f, 0},
                 {total, 0},
                 {coCircuitPieceAt(0)->GetLength(), 1},
                 {-1.0f, 7},
                 {total * 1000.0f + 1.0f, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(coCircuitPieceAtDistance(c.distance), coCircuitPieceAt(c.piece)) << c.distance;
    // Far and non-finite distances end at once.
    for (float far :
         {3e38f, -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()})
        EXPECT_NE(coCircuitPieceAtDistance(far), nullptr) << far;
    coCircuitResetFlags();
    EXPECT_EQ(coCircuitPieceAtDistance(5.0f), coCircuitLastPiece());
}

TEST_F(coCircuitTest, JoinFitsAndTheWorldTakeTheirBoundsInclusively) {
    const maVector3d end(0.0f, 0.0f, 0.0f), ahead(0.0f, 0.0f, 10.0f);
    const struct {
        maVector3d start;
        float heading;
        bool fits;
    } joins[] = {
        {ahead, maPiF / 4.0f, true},
        {ahead, std::nextafter(maPiF / 4.0f, 1.0f), false},
        {ahead, maTwoPiF, true},
        {ahead, std::numeric_limits<float>::quiet_NaN(), false},
        {maVector3d(0.0f, 0.0f, 4.9f), 0.0f, false},
        {maVector3d(0.0f, 0.0f, 20.0f), 0.0f, true},
        {maVector3d(12.0f, 0.0f, 20.0f), 0.0f, false},
    };
    for (const auto& join : joins)
        EXPECT_EQ(coCircuitJoinFits(join.start, join.heading, end, 0.0f, 5.0f, 20.0f), join.fits)
            << join.start.z << " " << join.heading;
    maVector3d point;
    EXPECT_FALSE(coCircuitFindJoinPoint(5.0f, 20.0f, point));
    BuildHairpin(30.0f);
    ASSERT_TRUE(coCircuitFindJoinPoint(5.0f, 20.0f, point));
    EXPECT_EQ(point.z, coCircuitFirstPiece()->GetStart().z);

    // The world has no floor; the last piece's end has no successor and is not tested.
    park.maxZ = 50.0f;
    EXPECT_FALSE(coPointOutsideWorld(maVector3d(0.0f, -1e6f, 50.0f)));
    EXPECT_TRUE(coPointOutsideWorld(maVector3d(0.0f, 200.01f, 0.0f)));
    coCircuitClear();
    coAppendStraight(80.0f);
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
    EXPECT_EQ(std::tuple(b->GetStart().z, c->GetStart().z), std::tuple(40.0f, 60.0f));
    EXPECT_EQ(builder.rebuilt.back(), std::make_pair(static_cast<coCoasterPiece*>(a), 2));
    a->SetRunLength(20.0f);
    a->Build();
    EXPECT_TRUE(coCircuitReflowFrom(a, false));
}

TEST_F(coCircuitTest, RebuildFromListChainsLoadedPiecesFromTheStartPositionAndClearKeepsTheTheme) {
    coSetThemeName("Ironvale");
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
    std::vector<std::unique_ptr<coCoasterPiece>> loaded;
    loaded.push_back(std::make_unique<coCoasterPieceStraight>());
    loaded.push_back(std::make_unique<coCoasterPieceTurn>());
    loaded.push_back(std::make_unique<coCoasterPieceShallowTurn>());
    coCircuitRebuildFromList(std::move(loaded));
    EXPECT_EQ(builder.removed.size(), 8u);
    ASSERT_EQ(coCircuitPieceCount(), 3);
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(std::tuple(coCircuitFirstPiece()->GetStart().x, coCircuitFirstPiece()->GetStart().z),
              std::tuple(park.startPosition.x, park.startPosition.z));
    EXPECT_EQ(coCircuitPieceAt(2)->GetStart().x, coCircuitPieceAt(1)->GetEnd().x);
    EXPECT_TRUE(coCircuitLinksAgree());

    // A first piece that was placed keeps its place.
    std::vector<std::unique_ptr<coCoasterPiece>> placed;
    placed.push_back(std::make_unique<coCoasterPieceStraight>());
    placed[0]->Place(maVector3d(1.0f, 2.0f, 3.0f), 0.5f);
    coCircuitRebuildFromList(std::move(placed));
    EXPECT_EQ(std::tuple(coCircuitFirstPiece()->GetStart().x, coCircuitFirstPiece()->GetHeading()),
              std::tuple(1.0f, 0.5f));

    coCircuitTotalLength();
    coCircuitClear();
    EXPECT_EQ(std::tuple(coCircuitPieceCount(), coCircuitPieceAtDistance(1.0f), coGetThemeName()),
              std::tuple(0, nullptr, "Ironvale"));
}

template <class Piece> std::unique_ptr<coCoasterPiece> Make() {
    return std::make_unique<Piece>();
}
std::unique_ptr<coCoasterPiece> MakeCustom() {
    auto piece = std::make_unique<coCoasterPieceCustom>();
    EXPECT_TRUE(piece->SetPoints(coSampleCustomPoints()));
    return piece;
}

// A piece of one of the ten classes with its parameters, slope, roll and blend mode stirred.
std::unique_ptr<coCoasterPiece> RandomPiece(std::mt19937& random) {
    using Maker = std::unique_ptr<coCoasterPiece> (*)();
    const Maker makers[] = {Make<coCoasterPieceStraight>,
                            Make<coCoasterPieceTurn>,
                            Make<coCoasterPieceShallowTurn>,
                            Make<coCoasterPieceSTurn>,
                            Make<coCoasterPieceUp>,
                            Make<coCoasterPieceLoop>,
                            Make<coCoasterPieceHalfLoop>,
                            Make<coCoasterPieceCorkscrew>,
                            Make<coCoasterPieceHalfCorkscrew>,
                            MakeCustom};
    std::unique_ptr<coCoasterPiece> piece = makers[random() % std::size(makers)]();
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    piece->SetRoll(unit(random));
    piece->SetRollBlend(static_cast<i32>(random() % 3));
    piece->SetSlope(coDegrees(30.0f) * unit(random));
    piece->AdjustParamA(std::round(4.0f * unit(random)));
    piece->AdjustParamB(std::round(4.0f * unit(random)));
    piece->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
    return piece;
}

// Every piece is what it would be sampled afresh with its neighbours as they stand: length, points and
// frames bit for bit.
void ExpectNoPieceStale() {
    for (int i = 0; i < coCircuitPieceCount(); ++i) {
        coCoasterPiece* piece = coCircuitPieceAt(i);
        std::vector<float> before{piece->GetLength()};
        const auto sample = [&](std::vector<float>& out) {
            for (float s = 0.0f; s <= 1.0f; s += 0.125f) {
                const maVector3d p = piece->PointAt(s);
                out.insert(out.end(), {p.x, p.y, p.z});
                const maMatrix4d frame = piece->FrameAt(s);
                out.insert(out.end(), std::begin(frame.m), std::end(frame.m));
            }
        };
        sample(before);
        piece->Build();
        std::vector<float> after{piece->GetLength()};
        sample(after);
        const auto differ = std::mismatch(before.begin(), before.end(), after.begin());
        ASSERT_TRUE(differ.first == before.end())
            << "piece " << i << " of " << coCircuitPieceCount() << ", value " << differ.first - before.begin()
            << ": " << *differ.first << " sampled afresh " << *differ.second;
    }
}

// The circuit's edits on a piece drawn at random (null on an empty circuit, which only appends).
using coCircuitEdit = void (*)(std::mt19937&, coCoasterPiece*);
const std::pair<const char*, coCircuitEdit> coCircuitEdits[] = {
    {"append", [](std::mt19937& r, coCoasterPiece*) { coCircuitAppend(RandomPiece(r), r() % 2 == 0); }},
    {"insert",
     [](std::mt19937& r, coCoasterPiece* p) { coCircuitInsertAfter(RandomPiece(r), p, r() % 2 == 0); }},
    {"remove", [](std::mt19937&, coCoasterPiece* p) { coCircuitRemovePiece(p); }},
    {"remove last", [](std::mt19937&, coCoasterPiece*) { coCircuitRemoveLast(); }},
    {"parameters",
     [](std::mt19937& r, coCoasterPiece* p) {
         p->AdjustParamA(r() % 2 == 0 ? 1.0f : -1.0f);
         p->AdjustParamB(r() % 2 == 0 ? 1.0f : -1.0f);
         p->SetRollBlend(static_cast<i32>(r() % 3));
         coCircuitReflowFrom(p, true);
     }},
    {"pitch",
     [](std::mt19937& r, coCoasterPiece* p) {
         coPieceChangePitch(p, coDegrees(static_cast<float>(r() % 41) - 20.0f));
     }},
    {"close", [](std::mt19937&, coCoasterPiece*) { coCircuitClose(); }},
    {"load",
     [](std::mt19937&, coCoasterPiece*) {
         // The same pieces taken out and chained anew.
         std::vector<std::unique_ptr<coCoasterPiece>> pieces = std::move(coCircuitPieces());
         coCircuitRebuildFromList(std::move(pieces));
     }},
};

TEST_F(coCircuitTest, EveryEditLeavesEveryPieceAsItWouldBeSampledAfresh) {
    const std::pair<const char*, void (*)()> starts[] = {
        {"empty", [] {}},
        {"R1 closed", [] { coBuildReference(coReferenceCircuits[0]); }},
        {"figure 8 closed", [] { coBuildReference(coReferenceCircuits[1]); }},
        {"hill climb closed", [] { coBuildReference(coReferenceCircuits[2]); }},
        {"every class", coBuildEveryClass}};
    for (unsigned seed = 0; seed < 4; ++seed) {
        std::mt19937 random(seed);
        for (const auto& [name, build] : starts) {
            coCircuitClear();
            park.hasTerrain = false;
            build();
            // A hill beside the start, so that re-placed pieces are lifted too.
            park.hasTerrain = true;
            park.groundLevel = -20.0f;
            park.hillCentre = maVector3d(20.0f, 0.0f, 20.0f);
            for (int step = 0; step < 40; ++step) {
                const int count = coCircuitPieceCount();
                coCoasterPiece* any =
                    count > 0 ? coCircuitPieceAt(static_cast<int>(random() % count)) : nullptr;
                const auto& [edit, apply] = coCircuitEdits[any ? random() % std::size(coCircuitEdits) : 0];
                SCOPED_TRACE(testing::Message()
                             << name << ", seed " << seed << ", step " << step << ": " << edit);
                apply(random, any);
                ASSERT_TRUE(coCircuitLinksAgree());
                ASSERT_NO_FATAL_FAILURE(ExpectNoPieceStale());
            }
        }
    }
}
} // namespace
