#include "Source/Career/coMissionFile.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Ride/coTrain.h"
#include "Source/Track/coCircuit.h"

#include "Source/Career/coCareerTestSupport.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"

#include <cmath>

namespace {

// What a load must fill, or leave alone when the file is bad.
struct Outputs {
    coMissionBudgets budgets{};
    coObjectiveSet objectives;
    coMissionLocks locks;
    coFlythroughPath path;

    std::vector<int> Counts() const {
        return {objectives.GetCount(0), objectives.GetCount(1), objectives.GetCount(2),
                objectives.GetCount(3)};
    }
};

class coMissionFileTest : public coCircuitFixture {
  protected:
    coMissionFileTest() { park.startPosition = maVector3d(0.0f, 2.0f, 0.0f); }
    ~coMissionFileTest() override { coCollisionClearMarkers(); }

    // A closed square with two props and two rings, and a mission that uses every kind of objective.
    void BuildMission(Outputs& mission) {
        coBuildR1();
        coCircuitClose();
        coProp* wheel = world.AddProp(maVector3d(1.0f, 2.0f, 3.0f), "wheel");
        coProp* swing = world.AddProp(maVector3d(4.0f, 0.5f, -6.0f), "swing");
        world.rings = {maVector3d(0.0f, 10.0f, 0.0f), maVector3d(5.0f, 10.0f, 0.0f)};
        for (int i = 0; i < coMissionBudgetCount; ++i)
            mission.budgets[i] = i % 3 - 1;
        mission.locks = {false, true, 2, {swing}};
        mission.path.SetFlightTime(7.5f);
        mission.path.SetWaitBefore(0.5f);
        mission.path.SetWaitAfter(0.0f);
        mission.path.AddPoint(maVector3d(1, 2, 3), maVector3d(4, 5, 6));
        mission.path.AddPoint(maVector3d(-1, 20, 3), maVector3d(0, 0, 0));
        coObjectiveSet& set = mission.objectives;
        set.Add(std::make_unique<coStatObjective>(1, true, 5.0f, *texts), 0);
        set.Add(std::make_unique<coRingObjective>(*texts), 0);
        set.Add(std::make_unique<coRingObjective>(*texts), 0);
        set.Add(std::make_unique<coTrackCountObjective>(0, 2, true, *texts), 1);
        set.Add(std::make_unique<coPropActivationEventObjective>(wheel, 3.0f, 1, *texts), 2);
        set.Add(std::make_unique<coPropProximityObjective>(wheel, 2.0f, *texts), 2);
        set.Add(std::make_unique<coPropOrderingObjective>(swing, 1, *texts), 2);
    }
    std::string Written(const char* name, const Outputs& mission) {
        coWriteMissionFile(career.folder.Locator(name), mission.budgets, mission.objectives, mission.locks,
                           mission.path);
        return career.folder.Read(name);
    }
    void Load(const std::string& bytes, Outputs& into) {
        career.folder.Write("in.cmi", bytes);
        coLoadMission(career.folder.Locator("in.cmi"), into.budgets, into.objectives, into.locks, into.path);
    }

    coCareerEnvironment career;
    coFileTestDefinition definition;
    coFakeMissionWorld world;
    std::unique_ptr<gfTextSet> texts =
        coWriteObjectiveTexts(career.folder, {{20 + 2, u"Top speed above %.0f"}});
};

// The objective lists of a hand-built mission after its coaster, each list's children given as bytes.
std::string HandBuilt(const std::string& chunks) {
    coByteBuilder b;
    b.Header(1);
    b.Raw(chunks);
    return b.bytes;
}

std::string List(const char* id, const std::string& children) {
    return coChunkBytes(id, children);
}

std::string Position(float x, float y, float z) {
    coByteBuilder b;
    b.F32(x);
    b.F32(y);
    b.F32(z);
    return b.bytes;
}

std::string Proximity(float x, float y, float z, float threshold) {
    coByteBuilder b;
    b.Raw(Position(x, y, z));
    b.F32(threshold);
    return coChunkBytes("CPPO", b.bytes);
}

std::string Stat(i8 kind, float threshold) {
    coByteBuilder b;
    b.I8(kind);
    b.I8(1);
    b.F32(threshold);
    return coChunkBytes("CSOB", b.bytes);
}

std::string Flight(u16 version, float time, i16 count, int points, float before, float after) {
    coByteBuilder b;
    b.F32(time);
    b.I16(count);
    for (int i = 0; i < points; ++i)
        b.Raw(Position(float(i), 1, 2) + Position(3, 4, 5));
    if (version > 0) {
        b.F32(before);
        b.F32(after);
    }
    return coChunkBytes("CFLY", b.bytes, version);
}

std::string Locks(i16 count, int positions) {
    coByteBuilder b;
    b.I8(0);
    b.I8(1);
    b.I16(3);
    b.I16(count);
    for (int i = 0; i < positions; ++i)
        b.Raw(Position(1, 2, 3));
    return coChunkBytes("CORG", b.bytes);
}

} // namespace

TEST_F(coMissionFileTest, WriteLoadWriteIsByteIdenticalAndRestoresEverything) {
    Outputs mission;
    BuildMission(mission);
    const std::string first = Written("a.cmi", mission);
    size_t rings = 0;
    for (size_t at = first.find("CRNG"); at != std::string::npos; at = first.find("CRNG", at + 1))
        ++rings;
    EXPECT_EQ(rings, 2u); // the second ring objective writes an empty list

    coSetTrainDragOn(0);
    Outputs loaded;
    Load(first, loaded);
    EXPECT_EQ(world.rings.size(), 2u);
    EXPECT_EQ(world.prepared, 1);
    EXPECT_EQ(coGetTrainDragOn(), 1);
    EXPECT_EQ(coCircuitPieceCount(), 8);
    EXPECT_EQ(loaded.budgets, mission.budgets);
    ASSERT_EQ(loaded.locks.lockedProps.size(), 1u);
    EXPECT_EQ(coFakeMissionWorld::Of(loaded.locks.lockedProps[0]).name, "swing");
    EXPECT_TRUE(loaded.locks.piecesFree && !loaded.locks.propsFree && loaded.locks.lockedPieces == 2);
    EXPECT_EQ(loaded.path.GetPointCount(), 2);
    EXPECT_EQ(loaded.path.GetPoint(1).GetCameraPosition().y, 20.0f);
    EXPECT_EQ(loaded.path.GetFlightTime(), 7.5f);
    EXPECT_EQ(loaded.path.GetWaitAfter(), 0.0f);
    EXPECT_EQ(loaded.Counts(), (std::vector<int>{3, 1, 3, 0}));
    EXPECT_EQ(envStringToNarrow(loaded.objectives.GetLevel(0)[0]->GetDescription()), "Top speed above 11");
    EXPECT_TRUE(coFakeMissionWorld::Of(loaded.locks.lockedProps[0]).tracked); // its order is recorded
    // The mission's own chunks come back as written; the coaster's gain the dock and the statistics that a
    // load adds, and then stay.
    const std::string second = Written("b.cmi", loaded);
    EXPECT_EQ(second.substr(second.find("CCON")), first.substr(first.find("CCON")));
    Outputs again;
    Load(second, again);
    EXPECT_EQ(Written("c.cmi", again), second);

    std::vector<std::unique_ptr<coMissionObjective>> win;
    coReadMissionObjectives(career.folder.Locator("a.cmi"), win);
    ASSERT_EQ(win.size(), 3u);
    EXPECT_TRUE(dynamic_cast<coRingObjective*>(win[2].get()));
}

TEST_F(coMissionFileTest, OlderChunksBadValuesAndUnmatchedPropsInHandBuiltFiles) {
    world.AddProp(maVector3d(1, 2, 3), "kept");
    coByteBuilder budgets;
    for (int i = 0; i < 9; ++i)
        budgets.U32(7);
    coByteBuilder event;
    event.Raw(Position(1, 2, 3));
    event.F32(1.0f);
    event.I16(0);
    const std::string win = List("CWIN", Stat(1, std::nanf("")) + Stat(2, 1.0f) +
                                             Proximity(1, 2, 3.0001f, 1) + coChunkBytes("CPAE", event.bytes));
    const std::string gold = List("CGOL", coChunkBytes("CTRL", "") + Stat(3, 2.0f));
    const struct {
        const char* name;
        std::string flight;
        float time, before, after;
        bool warned;
    } flights[] = {
        {"version 0 keeps the waits", Flight(0, 4.0f, 1, 1, 0, 0), 4.0f, 1.0f, 1.0f, false},
        {"bad times", Flight(1, std::nanf(""), 0, 0, -1.0f, INFINITY), 3.0f, 1.0f, 1.0f, true},
        {"zero flight", Flight(1, 0.0f, -5, 0, 0.0f, 2.0f), 3.0f, 0.0f, 2.0f, true},
    };
    for (const auto& f : flights) {
        Outputs loaded;
        Load(HandBuilt(coChunkBytes("CCON", budgets.bytes, 0) + Locks(-1, 0) + f.flight + win + gold),
             loaded);
        EXPECT_EQ(loaded.budgets[8], 7) << f.name;
        EXPECT_EQ(loaded.budgets[9], 0) << f.name;
        EXPECT_EQ(loaded.budgets[15], 0) << f.name;
        EXPECT_TRUE(loaded.locks.lockedProps.empty() && loaded.locks.lockedPieces == 3) << f.name;
        EXPECT_EQ(loaded.path.GetFlightTime(), f.time) << f.name;
        EXPECT_EQ(loaded.path.GetWaitBefore(), f.before) << f.name;
        EXPECT_EQ(loaded.path.GetWaitAfter(), f.after) << f.name;
        EXPECT_EQ(career.Warned("fly-through"), f.warned) << f.name;
        // The NaN threshold and the near miss are left out; the gold list's ring lands in the win level.
        EXPECT_EQ(loaded.Counts(), (std::vector<int>{2, 0, 0, 1})) << f.name;
        EXPECT_TRUE(dynamic_cast<const coRingObjective*>(loaded.objectives.GetLevel(0)[1].get())) << f.name;
    }
    EXPECT_EQ(world.placed.size(), 0u); // the file's (empty) coaster replaced the world
}

TEST_F(coMissionFileTest, ABadFileLeavesTheWorldAndTheObjectivesAsTheyWere) {
    Outputs mission;
    BuildMission(mission);
    const std::string good = Written("a.cmi", mission);
    Outputs loaded;
    Load(good, loaded);
    const int clears = world.clears;
    const std::vector<int> counts = loaded.Counts();
    const auto expectUntouched = [&](const std::string& what) {
        EXPECT_EQ(world.clears, clears) << what;
        EXPECT_EQ(coCircuitPieceCount(), 8) << what;
        EXPECT_EQ(world.placed.size(), 2u) << what;
        EXPECT_EQ(world.rings.size(), 2u) << what;
        EXPECT_EQ(loaded.Counts(), counts) << what;
        EXPECT_EQ(loaded.path.GetPointCount(), 2) << what;
    };
    const struct {
        const char* name;
        std::string bytes;
    } bad[] = {
        {"locked props past the chunk", HandBuilt(Locks(32767, 1))},
        {"points past the chunk", HandBuilt(Flight(1, 2.0f, 32767, 1, 0, 0))},
        {"a short budget chunk", HandBuilt(coChunkBytes("CCON", "abcd", 1))},
        {"a list child past its chunk", HandBuilt(List("CWIN", Stat(1, 2.0f).substr(0, 13)))},
        {"no header", "KSF"},
    };
    for (const auto& c : bad) {
        EXPECT_ANY_THROW(Load(c.bytes, loaded)) << c.name;
        expectUntouched(c.name);
    }
    career.warnings.clear();
    EXPECT_THROW(Load(HandBuilt(List("CWIN", coChunkBytes("CSOB", "x"))), loaded), chInvalidChunkX);
    int invalid = 0;
    for (const std::string& line : career.warnings)
        invalid += line.find("Invalid Chunk while reading coaster mission") != std::string::npos;
    EXPECT_EQ(invalid, 2); // the list's reader and the loader's

    // Every cut of the good file is refused or loads a part of it; a refused one changes nothing.
    for (size_t length = 0; length < good.size(); ++length) {
        const int before = world.clears;
        try {
            Load(good.substr(0, length), loaded);
            Load(good, loaded);
        } catch (const envExceptionX&) {
            EXPECT_EQ(world.clears, before) << length;
        }
    }
    EXPECT_EQ(coCircuitPieceCount(), 8);
}

TEST_F(coMissionFileTest, AFailedWriteKeepsTheOldFile) {
    Outputs mission;
    BuildMission(mission);
    const std::string old = Written("a.cmi", mission);
    mission.path.AddPoint(maVector3d(), maVector3d());
    {
        const fsWriteCalls failing(EIO);
        EXPECT_ANY_THROW(Written("a.cmi", mission));
    }
    EXPECT_EQ(career.folder.Read("a.cmi"), old);
}
