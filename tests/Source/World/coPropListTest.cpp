// The placed-prop list: its file section, the grid cells its props occupy, and track props read unplaced.
#include "Source/World/coPropList.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chTestFile.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coTrackProp.h"
#include "coPropTestBytes.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

namespace {

using Body = coPropBytes;

std::string Rock(f32 x = 1.0f) {
    return coPropChunk("CPRP", coPropChunk("CPNM", Body().Wide("rock").Str()) +
                                   coPropChunk("CPPO", Body().F({x, 2, 3, 0.5f}).Str()));
}

std::string Flag(i16 index = 3) {
    return coPropChunk("CPRT", coPropChunk("CPNM", Body().Wide("flag").Str()) +
                                   coPropChunk("CTPP", Body().I16(index).F({0.25f}).Str()) +
                                   coPropChunk("CPAN", Body().U8(2).Str()));
}

class coPropListTest : public chTestFile {
  protected:
    void ReadInto(const std::string& bytes, std::vector<coPropRecord>& records) {
        auto file = Open(bytes);
        chBinReader reader(file.get());
        u32 id, size;
        u16 version;
        EXPECT_TRUE(reader.BeginChunk(&id, &version, &size));
        coReadPropRecords(reader, records);
    }
    std::vector<coPropRecord> Read(const std::string& bytes) {
        std::vector<coPropRecord> records;
        ReadInto(bytes, records);
        return records;
    }
    std::string Write(const std::vector<coPropRecord>& records) {
        auto file = Create();
        chBinWriter writer(file.get());
        coWritePropRecords(writer, records);
        file.reset();
        return Written();
    }
};

TEST_F(coPropListTest, TheSectionMatchesItsBytesAndWritesBackIdentically) {
    const std::string one = coPropChunk("CPRL", Rock());
    const std::string two = coPropChunk("CPRL", Rock() + Flag());
    ASSERT_EQ(one.size(), 66u);
    ASSERT_EQ(two.size(), 123u);
    const std::vector<coPropRecord> records = Read(two);
    ASSERT_EQ(records.size(), 2u);
    // The 0 unit is not part of the name.
    EXPECT_EQ(envStringToNarrow(records[0].name), "rock");
    EXPECT_EQ(std::tuple(records[0].track, records[0].position.z, records[0].hasEvent),
              std::tuple(false, 3.0f, false));
    EXPECT_EQ(
        std::tuple(records[1].track, records[1].pieceIndex, records[1].distance, records[1].activeEvent),
        std::tuple(true, 3, 0.25f, 2));
    EXPECT_EQ(std::tuple(Write(records), Write(Read(one))), std::tuple(two, one));
}

TEST_F(coPropListTest, MalformedSectionsThrowOrDropWithAWarning) {
    const std::string good = coPropChunk("CPRL", Rock() + Flag());
    for (size_t cut = 10; cut < good.size(); ++cut) {
        // A shortened outer size keeps the file whole: every child must then stay inside its chunk.
        std::string bytes = good.substr(0, cut);
        const u32 size = u32(cut - 10);
        std::memcpy(&bytes[4], &size, 4);
        try {
            Read(bytes);
        } catch (const chInvalidChunkX&) {
        }
    }
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    dbgLogCapture log;
    const std::vector<coPropRecord> records = Read(coPropChunk("CPRL", Rock(nan) + Rock() + Flag()));
    EXPECT_EQ(std::tuple(records.size(), log.Holds("not a number")), std::tuple(2u, true));
    const std::string unterminated =
        coPropChunk("CPRL", coPropChunk("CPRP", coPropChunk("CPNM", Body().Wide("rock", false).Str())));
    EXPECT_EQ(envStringToNarrow(Read(unterminated).at(0).name), "rock");
    const std::string shortPose =
        coPropChunk("CPRL", coPropChunk("CPRP", coPropChunk("CPPO", Body().F({1, 2}).Str()) + Rock()));
    std::vector<coPropRecord> kept{coPropRecord{}};
    EXPECT_THROW(ReadInto(shortPose, kept), chInvalidChunkX);
    EXPECT_EQ(kept.size(), 1u); // nothing half-read is handed out
}

class coPlacedPropsTest : public ::testing::Test {
  protected:
    void SetUp() override { coGetPlacementGrid().Build(0, 100, 0, 100, 10, 10); }
    void TearDown() override { coPropList::DeleteAll(); }
    coProp* Place(f32 x, f32 z) {
        auto prop = std::make_unique<coProp>(m_rock);
        prop->SetPosition(maVector3d(x, 0, z));
        coProp* placed = prop.get();
        coPropList::Add(std::move(prop));
        return placed;
    }
    coPropTemplate m_rock{envString("rock"), envString("Rock"), false};
    coPropTemplate m_flag{envString("flag"), envString("Flag"), true};
};

TEST_F(coPlacedPropsTest, SharedCellsStayTakenAndTouchingBoxesAreFound) {
    coProp* a = Place(15, 15);
    Place(16, 16);
    EXPECT_EQ(coGetPlacementGrid().GetCell(1, 1), coPlacementGrid::kOccupied);
    coPropList::Remove(a);
    EXPECT_EQ(coGetPlacementGrid().GetCell(1, 1), coPlacementGrid::kOccupied);
    std::vector<coProp*> found;
    coPropList::FindInBox(maBoundingBox(maVector3d(16, 0, 0), maVector3d(20, 1, 20)), found);
    EXPECT_EQ(found.size(), 1u);
    dbgLogCapture log;
    coProp stranger(m_rock);
    coPropList::Remove(&stranger);
    EXPECT_TRUE(log.Holds("not placed"));
    std::vector<coProp*> all;
    coPropList::CollectAll(all);
    EXPECT_EQ(all.size(), 1u);

    // The ride measures the placed props: passed within the trigger distance, ordered when watched.
    all[0]->SetObjectiveFlag(1);
    std::vector<const coProp*> measured;
    coGetRideProps().CollectAll(measured);
    ASSERT_EQ(measured, (std::vector<const coProp*>{all[0]}));
    EXPECT_EQ(coGetRideProps().GetProximityRadius(all[0]), all[0]->GetTriggerDistance());
    EXPECT_TRUE(coGetRideProps().GetOrderingFlag(all[0]));
}

TEST_F(coPlacedPropsTest, FarPropsAreCulledOnlyWhileThePropsAreShown) {
    const f32 clipping = coPrefs::GetFloat(coPrefPropFarClipping);
    coPrefs::SetFloat(coPrefPropFarClipping, 0.5f); // a radius of 280
    coProp* near = Place(29, 50);
    coProp* far = Place(31, 50);
    const maVector3d camera(-250, 0, 50);
    coPropList::CullByDistance(camera);
    EXPECT_EQ(std::tuple(near->IsVisible(), far->IsVisible()), std::tuple(true, false));
    coPropList::UncullAll();
    EXPECT_TRUE(far->IsVisible());
    coPropList::SetAllVisible(false);
    coPropList::CullByDistance(camera);
    coPropList::UncullAll();
    EXPECT_FALSE(near->IsVisible() || far->IsVisible());
    coPropList::SetAllVisible(true);
    coPrefs::SetFloat(coPrefPropFarClipping, clipping);
}

TEST_F(coPlacedPropsTest, TrackPropsOffTheCircuitStayHiddenAndKeepTheirIndex) {
    for (i32 index : {-1, 99}) {
        auto prop = std::make_unique<coTrackProp>(m_flag);
        prop->SetPieceIndex(index);
        prop->SetDistance(1.5f);
        coTrackProp* placed = prop.get();
        coPropList::Add(std::move(prop));
        coPropList::PlaceAllTrackProps();
        const coPropRecord record = coMakePropRecord(*placed);
        EXPECT_EQ(std::tuple(placed->IsVisible(), record.pieceIndex, record.distance),
                  std::tuple(false, index, 1.0f));
        coPropList::Remove(placed);
    }
    EXPECT_EQ(coGetPlacementGrid().GetCell(0, 0), coPlacementGrid::kFree);
}

class coTrackPropTest : public coCircuitFixture {
  protected:
    ~coTrackPropTest() override { coPropList::DeleteAll(); }
    coPropTemplate m_flag{envString("flag"), envString("Flag"), true};
};

TEST_F(coTrackPropTest, AReadPropStandsOnItsPieceAndLeavesWithIt) {
    coBuildR1();
    auto prop = std::make_unique<coTrackProp>(m_flag);
    prop->SetPieceIndex(3);
    prop->SetDistance(0.25f);
    coTrackProp* placed = prop.get();
    coPropList::Add(std::move(prop));
    coPropList::PlaceAllTrackProps();
    const maVector3d expected = coCircuitPieceAt(3)->FrameAt(0.25f).GetTranslation();
    EXPECT_EQ(std::tuple(placed->GetPosition().x, placed->GetPosition().z, placed->GetPiece(),
                         placed->IsVisible(), coMakePropRecord(*placed).pieceIndex),
              std::tuple(expected.x, expected.z, coCircuitPieceAt(3), true, 3));
    coPropList::MoveTrackProps(coCircuitPieceAt(3), coCircuitPieceAt(2));
    coPropList::RemoveTrackPropsOnPiece(coCircuitPieceAt(3));
    EXPECT_EQ(std::tuple(coPropList::GetTrackProps().size(), placed->GetPiece()),
              std::tuple(1u, coCircuitPieceAt(2)));
    coPropList::RemoveTrackPropsOnPiece(coCircuitPieceAt(2));
    EXPECT_TRUE(coPropList::GetTrackProps().empty());
}

TEST(coPropTriggerTest, TheCarIsInsideNearTheBoxsCentreLine) {
    const maBoundingBox box(maVector3d(-2, 0, -1), maVector3d(2, 4, 1));
    const struct {
        maVector3d car;
        bool inside;
    } cases[] = {{{0, 2, 10.9f}, true}, {{0, 2, 11}, false}, {{9, 2, 0}, true}, {{0, 12.5f, 0}, false}};
    for (const auto& c : cases)
        EXPECT_EQ(coPropTriggerInside(box, c.car, 10.0f), c.inside) << c.car.x << " " << c.car.z;
    EXPECT_FALSE(coPropTriggerInside(box, maVector3d(0, 2, 0), 0.0f));
    coPropTemplate rock(envString("rock"), envString("Rock"), false);
    EXPECT_FALSE(coProp(rock).IsTrainInside()); // no ride cars yet
}

TEST(coPropTriggerTest, PhasesWrapAndAOneKeyAnimationFiresNothing) {
    f32 phase = -1, from = -1;
    ASSERT_TRUE(coPropPhase(15.5f - 10.0f, 2.0f, true, 1.8f, phase, from));
    EXPECT_NEAR(phase, 1.5f, 1e-5f);
    EXPECT_NEAR(from, -0.2f, 1e-5f);
    EXPECT_EQ(std::tuple(coPropPhase(1.0f, 0.0f, true, 0.0f, phase, from),
                         coPropPhase(2.5f, 2.0f, false, 0.0f, phase, from)),
              std::tuple(false, false));
    ASSERT_TRUE(coPropPhase(1.0f, 2.0f, false, 0.5f, phase, from));
    EXPECT_EQ(from, 0.5f);
}

} // namespace
