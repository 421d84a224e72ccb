#include "Source/Track/coSavedCoaster.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coInvalidSaveFileX.h"
#include "Source/Track/coPlacement.h"
#include "Source/Track/coRideStats.h"
#include "Source/Track/coTrackChunks.h"
#include "Source/Track/coTrackCollision.h"
#include "Source/Track/coTrain.h"

#include "coCircuitTestSupport.h"
#include "coSavedCoasterTestSupport.h"

#include <cmath>
#include <functional>
#include <limits>
#include <typeinfo>

namespace {

u32 GetU32(const std::string& bytes, size_t offset) {
    u32 v;
    std::memcpy(&v, &bytes[offset], 4);
    return v;
}

template <class T> void Poke(std::string& bytes, size_t offset, T value) {
    std::memcpy(&bytes[offset], &value, sizeof(T));
}

struct ChunkAt {
    size_t offset;
    std::string id;
    u32 size;
};

bool IsContainer(const std::string& id) {
    static const char* kContainers[] = {"CPLS", "CPSR", "CPTU", "CPST", "CPLP", "CPCO", "CPHL",
                                        "CPHC", "CPSU", "CPSH", "CPCU", "CURV", "CCMP"};
    for (const char* c : kContainers)
        if (id == c)
            return true;
    return false;
}

bool IsFloatField(const std::string& id) {
    static const char* kFloats[] = {"TWST", "ELEV", "LENG", "ANGL", "RADI",
                                    "SLID", "ENDR", "HEIG", "AANG", "ALEN"};
    for (const char* f : kFloats)
        if (id == f)
            return true;
    return false;
}

// Every chunk of a well-formed file, parents before children.
void Walk(const std::string& bytes, size_t begin, size_t end, std::vector<ChunkAt>& out) {
    for (size_t p = begin; p + 10 <= end;) {
        ChunkAt chunk{p, bytes.substr(p, 4), GetU32(bytes, p + 4)};
        out.push_back(chunk);
        if (IsContainer(chunk.id))
            Walk(bytes, p + 10, p + 10 + chunk.size, out);
        p += 10 + chunk.size;
    }
}

std::vector<ChunkAt> Chunks(const std::string& bytes) {
    std::vector<ChunkAt> chunks;
    Walk(bytes, 8, bytes.size(), chunks);
    return chunks;
}

ChunkAt Find(const std::vector<ChunkAt>& chunks, const std::string& id) {
    for (const ChunkAt& chunk : chunks)
        if (chunk.id == id)
            return chunk;
    ADD_FAILURE() << "no chunk " << id;
    return chunks.front();
}

// The file with its top-level CDAT chunk replaced by another (or removed when empty).
std::string WithCdat(const std::string& bytes, const std::string& cdat) {
    const ChunkAt old = Find(Chunks(bytes), "CDAT");
    return bytes.substr(0, old.offset) + cdat + bytes.substr(old.offset + 10 + old.size);
}

std::string Cdat(const coCdatFields& fields, u16 version) {
    coByteBuilder b;
    fields.Write(b, version);
    return b.bytes;
}

// The loader's call that loaded the definitions.
std::string DefinitionsCall(const std::vector<std::string>& log) {
    for (const std::string& call : log)
        if (call.rfind("definitions", 0) == 0)
            return call;
    return "none";
}

size_t FirstDifference(const std::string& a, const std::string& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return i;
}

// What a failed load must leave alone.
struct WorldSnapshot {
    std::vector<coPiecePose> poses;
    std::vector<std::string> classes;
    bool closed;
    std::string theme;
    u8 drag;
    bool checks;
    size_t calls;

    bool operator==(const WorldSnapshot& o) const {
        return poses == o.poses && classes == o.classes && closed == o.closed && theme == o.theme &&
               drag == o.drag && checks == o.checks && calls == o.calls;
    }
};

class coSavedCoasterTest : public coCircuitFixture {
  protected:
    coSavedCoasterTest() : services(definition) {
        park.startPosition = maVector3d(0.0f, 2.0f, 0.0f);
        coSetTrainDragOn(1);
        coSetCollisionChecks(true);
        dbgSetLogSink([this](const std::string& line) { warnings.push_back(line); });
    }
    ~coSavedCoasterTest() override {
        coSetCoasterWriteSeam(nullptr);
        coCollisionClearMarkers();
        dbgSetLogSink({});
    }

    // A world around the circuit: dock, scheme, props, theme, music, sounds and switches.
    void SetUpWorld() {
        services.hasDock = true;
        services.dockType = "Ironvale";
        services.dockPosition = maVector3d(3.0f, 2.0f, -8.0f);
        services.dockHeading = 0.5f;
        services.scheme = "Red";
        services.placedProps = {"bench", "tree"};
        services.environmentIndex = 2;
        services.musicTrack = 3;
        folder.MakeFolder("music");
        services.musicFolder = folder.Locator("music");
        services.soundSet = "Classic";
        coSetThemeName("Forest");
        coSetTrainDragOn(1);
        coSetCollisionChecks(false);
    }

    std::string Save(const std::string& name = "ride.csa") {
        coSaveCoasterFile(folder.Locator(name));
        return folder.Read(name);
    }
    void Load(const std::string& bytes, const std::string& name = "in.csa") {
        folder.Write(name, bytes);
        coLoadCoasterFile(folder.Locator(name));
    }

    WorldSnapshot Snapshot() const {
        WorldSnapshot s{coCircuitPoses(),    {},
                        coCircuitIsClosed(), coGetThemeName(),
                        coGetTrainDragOn(),  coGetCollisionChecks(),
                        services.log.size()};
        for (const auto& piece : coCircuitPieces())
            s.classes.push_back(typeid(*piece).name());
        return s;
    }

    // Loads a bad file, which must end in the loader's exception or load with defaults; on an exception
    // the world must be as it was.
    void LoadMutant(const std::string& bytes, const std::string& what) {
        folder.Write("mutant.csa", bytes);
        const WorldSnapshot before = Snapshot();
        try {
            coLoadCoasterFile(folder.Locator("mutant.csa"));
            ++mutantsLoaded;
        } catch (const envExceptionX&) {
            ++mutantsRefused;
            EXPECT_TRUE(Snapshot() == before) << what;
        } catch (...) {
            ADD_FAILURE() << what << ": an exception that is not the loader's";
        }
    }

    fsTestFolder folder;
    coFileTestDefinition definition;
    coRecordingCoasterServices services;
    std::vector<std::string> warnings;
    int mutantsLoaded = 0;
    int mutantsRefused = 0;
};

void BuildClosedR1() {
    coBuildR1();
    ASSERT_TRUE(coCircuitTryClose());
}

void BuildClosedFigureEight() {
    coBuildFigureEight();
    coCircuitTryClose();
}

} // namespace

TEST_F(coSavedCoasterTest, EmptyCircuitSavesExactBytesAndLoadsBack) {
    coSetSavedCoasterServices(nullptr); // the defaults: no dock, no scheme, an empty prop chunk
    coSetTrainDragOn(0);
    const std::string bytes = Save();

    coByteBuilder expected;
    expected.Header();
    expected.Begin("CDAT", 4);
    for (int i = 0; i < 4; ++i)
        expected.F32(0.0f);
    expected.Str("Steel");
    expected.Str("");    // no environment
    expected.I8(0);      // not closed
    expected.Str("");    // no dock type
    expected.I8(0);      // environment index
    expected.I8(0);      // air drag
    expected.I8(0);      // collisions on
    expected.I8(4);      // cars
    expected.Str("");    // theme
    expected.I8(5);      // ride music track
    expected.Units(u""); // music folder
    expected.Str("");    // sound set
    expected.End();
    expected.Begin("CPLS", 0);
    expected.End();
    expected.Begin("CPRL", 0);
    expected.End();
    EXPECT_EQ(bytes, expected.bytes);
    EXPECT_FALSE(fsFileExists(folder.Locator("ride.csa.tmp")));

    coLoadCoasterFile(folder.Locator("ride.csa"));
    EXPECT_EQ(coCircuitPieceCount(), 0);
    EXPECT_FALSE(coCircuitIsClosed());
    coSetSavedCoasterServices(&services);
}

TEST_F(coSavedCoasterTest, ReferenceCircuitsRoundTripBitExactly) {
    const std::vector<std::pair<const char*, std::function<void()>>> circuits = {
        {"R1", BuildClosedR1},
        {"figure-8", BuildClosedFigureEight},
        {"hill climb", coBuildHillClimb},
        {"every class, open", coBuildEveryClass}};
    for (const auto& [name, build] : circuits) {
        SCOPED_TRACE(name);
        coCircuitClear();
        build();
        SetUpWorld();
        coRideComputeStats();
        const bool closed = coCircuitIsClosed();
        std::vector<std::string> classes;
        for (const auto& piece : coCircuitPieces())
            classes.push_back(typeid(*piece).name());
        const std::string first = Save();
        ASSERT_GT(first.size(), 8u);

        services.log.clear();
        coLoadCoasterFile(folder.Locator("ride.csa"));
        EXPECT_EQ(coCircuitIsClosed(), closed);
        ASSERT_EQ(static_cast<size_t>(coCircuitPieceCount()), classes.size());
        for (size_t i = 0; i < classes.size(); ++i)
            EXPECT_EQ(typeid(*coCircuitPieces()[i]).name(), classes[i]) << i;
        EXPECT_EQ(coGetThemeName(), "Forest");
        EXPECT_EQ(coGetTrainDragOn(), 1);
        EXPECT_FALSE(coGetCollisionChecks());
        EXPECT_EQ(services.placedProps, (std::vector<std::string>{"bench", "tree"}));
        EXPECT_EQ(services.scheme, "Red");
        EXPECT_EQ(services.dockHeading, 0.5f);
        EXPECT_EQ(services.log.front(), "clear");
        EXPECT_EQ(DefinitionsCall(services.log), "definitions Mountain Steel 2");

        const std::string second = Save("again.csa");
        EXPECT_EQ(first.size(), second.size());
        EXPECT_TRUE(first == second) << "first difference at byte " << FirstDifference(first, second);
    }
}

TEST_F(coSavedCoasterTest, StatisticsChunkOrderAndCounts) {
    coBuildHillClimb();
    coRideComputeStats();
    SetUpWorld();
    const std::string bytes = Save();
    const ChunkAt stats = Find(Chunks(bytes), "CSTT");
    ASSERT_EQ(stats.size, 3u * 2 + 13u * 4);
    i16 counts[3];
    std::memcpy(counts, &bytes[stats.offset + 10], 6);
    EXPECT_EQ(counts[0], coCircuitPieceCount());
    EXPECT_EQ(counts[1], 1); // one Loop
    EXPECT_EQ(counts[2], 1); // one Corkscrew
    float values[13];
    std::memcpy(values, &bytes[stats.offset + 16], sizeof values);
    const coRideStats& s = coGetRideStats();
    EXPECT_EQ(values[0], s[coStatHighestLateralG]);
    EXPECT_EQ(values[3], s[coStatLowestLateralG]);
    EXPECT_EQ(values[6], s[coStatHighestSpeed]);
    EXPECT_EQ(values[7], s[coStatLowestSpeed]);
    EXPECT_EQ(values[9], s[coStatHighestHeight]);
    EXPECT_EQ(values[11], s[coStatRideTime]);
    EXPECT_EQ(values[12], s[coStatCircuitLength]);
    EXPECT_GT(values[12], 100.0f);
    // A stats chunk full of nonsense is never read.
    std::string odd = bytes;
    for (int i = 0; i < 13; ++i)
        Poke(odd, stats.offset + 16 + 4 * i, std::numeric_limits<float>::quiet_NaN());
    Load(odd);
    EXPECT_EQ(coGetRideStats()[coStatCircuitLength], values[12]);
}

TEST_F(coSavedCoasterTest, OlderCoasterDataVersionsLoadWithDefaults) {
    BuildClosedR1();
    SetUpWorld();
    const std::string saved = Save();
    coCdatFields fields;

    services.log.clear();
    Load(WithCdat(saved, Cdat(fields, 2)));
    EXPECT_EQ(coGetTrainDragOn(), 0);
    EXPECT_TRUE(coGetCollisionChecks());
    EXPECT_EQ(definition.numCars, 4);
    EXPECT_EQ(services.musicTrack, 5);
    EXPECT_EQ(coGetThemeName(), "Ironvale"); // no theme: the dock type's
    EXPECT_EQ(DefinitionsCall(services.log), "definitions Mountain Steel 1");
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(services.dockPosition.x, 1.5f);

    Load(WithCdat(saved, Cdat(fields, 3)));
    EXPECT_EQ(coGetTrainDragOn(), 1);
    EXPECT_EQ(definition.numCars, 4);

    fields.airDrag = 2; // only 1 means on
    Load(WithCdat(saved, Cdat(fields, 3)));
    EXPECT_EQ(coGetTrainDragOn(), 0);

    Load(WithCdat(saved, Cdat(fields, 4)));
    EXPECT_EQ(definition.numCars, 3);
    EXPECT_EQ(coGetThemeName(), "Forest");
    EXPECT_EQ(services.soundSet, "Classic");

    const WorldSnapshot before = Snapshot();
    folder.Write("v0.csa", WithCdat(saved, Cdat(fields, 0)));
    EXPECT_THROW(coLoadCoasterFile(folder.Locator("v0.csa")), chInvalidChunkX);
    EXPECT_TRUE(Snapshot() == before);
}

TEST_F(coSavedCoasterTest, MissingCoasterDataMeansClosedWithDefaultNames) {
    BuildClosedR1();
    SetUpWorld();
    const std::string saved = Save();
    services.log.clear();
    Load(WithCdat(saved, ""));
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(DefinitionsCall(services.log), "definitions Mountain Steel 0");
    EXPECT_EQ(services.dockType, "Ironvale");
    EXPECT_EQ(services.dockPosition.y, 2.0f); // the environment's start

    // Said to be closed, but the end lies far from the start: it loads open.
    coCircuitClear();
    coBuildEveryClass();
    const std::string open = Save();
    coCdatFields fields;
    Load(WithCdat(open, Cdat(fields, 4)));
    EXPECT_FALSE(coCircuitIsClosed());
}

TEST_F(coSavedCoasterTest, HeaderVersionAndMagic) {
    BuildClosedR1();
    SetUpWorld();
    std::string bytes = Save();
    const WorldSnapshot before = Snapshot();
    std::string newer = bytes;
    newer[5] = 2;
    folder.Write("newer.csa", newer);
    try {
        coLoadCoasterFile(folder.Locator("newer.csa"));
        ADD_FAILURE() << "a newer file loaded";
    } catch (const coInvalidSaveFileX& e) {
        EXPECT_EQ(e.GetLocator().GetLastComponent(), envString("newer.csa"));
    }
    EXPECT_TRUE(Snapshot() == before);

    std::string old = bytes;
    old.replace(0, 4, "BRFB");
    Load(old);
    EXPECT_EQ(coCircuitPieceCount(), 8);

    std::string bad = bytes;
    bad.replace(0, 4, "XXXX");
    folder.Write("bad.csa", bad);
    EXPECT_THROW(coLoadCoasterFile(folder.Locator("bad.csa")), gfInvalidFileBinX);
}

TEST_F(coSavedCoasterTest, NamesCarsAndIndicesFromTheFileAreChecked) {
    BuildClosedR1();
    SetUpWorld();
    const std::string saved = Save();
    coCdatFields fields;
    fields.type = "..\\Evil";
    fields.environment = "a/b";
    fields.dockType = "..";
    fields.theme = "x\\y";
    fields.soundSet = "/abs";
    fields.cars = 0;
    fields.environmentIndex = -1;
    services.log.clear();
    warnings.clear();
    Load(WithCdat(saved, Cdat(fields, 4)));
    EXPECT_EQ(DefinitionsCall(services.log), "definitions Mountain Steel 0");
    EXPECT_EQ(definition.numCars, 4);
    EXPECT_EQ(services.dockType, "Ironvale");
    EXPECT_EQ(coGetThemeName(), "Ironvale");
    EXPECT_EQ(services.soundSet, "");
    EXPECT_EQ(warnings.size(), 7u); // five names, the cars, the index

    fields = coCdatFields();
    fields.cars = -5;
    fields.type = "";
    Load(WithCdat(saved, Cdat(fields, 4)));
    EXPECT_EQ(definition.numCars, 4);
    EXPECT_EQ(definition.typeName, "Steel");

    // A non-finite dock pose falls back to the environment's start.
    fields = coCdatFields();
    fields.dock[1] = std::numeric_limits<float>::infinity();
    Load(WithCdat(saved, Cdat(fields, 4)));
    EXPECT_EQ(services.dockPosition.y, 2.0f);
    EXPECT_EQ(services.dockHeading, 0.0f);
}

TEST_F(coSavedCoasterTest, MusicFolderRules) {
    BuildClosedR1();
    SetUpWorld();
    const std::string saved = Save();
    coCdatFields fields;
    // A stored folder that no longer exists: root 15 with its last component; track 4 becomes 5.
    fields.musicFolder = u"\\nowhere\\at\\all\\";
    fields.musicTrack = 4;
    Load(WithCdat(saved, Cdat(fields, 4)));
    EXPECT_EQ(services.musicFolder.GetRoot(), 15);
    ASSERT_EQ(services.musicFolder.GetComponentCount(), 1u);
    EXPECT_EQ(services.musicFolder.GetLastComponent(), envString("all"));
    EXPECT_EQ(services.musicTrack, 5);

    fields.musicTrack = 3;
    Load(WithCdat(saved, Cdat(fields, 4)));
    EXPECT_EQ(services.musicTrack, 3);

    // An existing folder is taken as it is.
    folder.MakeFolder("tunes");
    const fsLocator tunes = folder.Locator("tunes");
    std::u16string units;
    for (u32 i = 0; i < tunes.GetComponentCount(); ++i) {
        const envString& c = tunes.GetComponent(i);
        units.append(c.GetData() ? c.GetData() : u"", c.GetLength());
        units += u'\\';
    }
    fields.musicFolder = units;
    Load(WithCdat(saved, Cdat(fields, 4)));
    EXPECT_TRUE(services.musicFolder == tunes);

    // The count must fit in the chunk.
    std::string huge = WithCdat(saved, Cdat(fields, 4));
    const ChunkAt cdat = Find(Chunks(huge), "CDAT");
    const size_t count = cdat.offset + 10 + 16 + 6 + 9 + 1 + 9 + 4 + 7 + 1;
    ASSERT_EQ(GetU32(huge, count), static_cast<u32>(units.size()));
    Poke(huge, count, u32{0x7FFFFFFF});
    const WorldSnapshot before = Snapshot();
    folder.Write("huge.csa", huge);
    EXPECT_THROW(coLoadCoasterFile(folder.Locator("huge.csa")), chInvalidChunkX);
    EXPECT_TRUE(Snapshot() == before);
}

TEST_F(coSavedCoasterTest, MutantSweepEndsInTheLoadersExceptionOrDefaults) {
    coBuildEveryClass();
    SetUpWorld();
    folder.MakeFolder("music");
    coRideComputeStats();
    const std::string good = Save();
    Load(good);
    const std::vector<ChunkAt> chunks = Chunks(good);

    for (size_t n = 0; n < good.size(); ++n)
        LoadMutant(good.substr(0, n), "truncated at " + std::to_string(n));

    const u32 counts[] = {0xFFFFFFFFu, 0u, 1u, 32767u, 0x7FFFFFFFu};
    const float floats[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            0.0f};
    for (const ChunkAt& chunk : chunks) {
        for (u32 value : counts) {
            std::string bytes = good;
            Poke(bytes, chunk.offset + 4, value);
            LoadMutant(bytes, chunk.id + " size " + std::to_string(value));
        }
        const size_t body = chunk.offset + 10;
        std::vector<size_t> floatsAt;
        if (IsFloatField(chunk.id))
            floatsAt.push_back(body);
        if (chunk.id == "CDAT")
            floatsAt = {body, body + 4, body + 8, body + 12};
        if (chunk.id == "CSTT")
            for (size_t i = 0; i < 13; ++i)
                floatsAt.push_back(body + 6 + 4 * i);
        if (chunk.id == "CPTS") {
            for (i16 value : {i16{-1}, i16{0}, i16{1}, i16{32767}}) {
                std::string bytes = good;
                Poke(bytes, body, value);
                LoadMutant(bytes, "CPTS count " + std::to_string(value));
            }
            for (size_t i = body + 2; i + 4 <= body + chunk.size; i += 4)
                floatsAt.push_back(i);
        }
        if (chunk.id == "REVS")
            for (u32 value : counts) {
                std::string bytes = good;
                Poke(bytes, body, value);
                LoadMutant(bytes, "REVS " + std::to_string(value));
            }
        for (size_t at : floatsAt)
            for (float value : floats) {
                std::string bytes = good;
                Poke(bytes, at, value);
                LoadMutant(bytes,
                           chunk.id + " float at " + std::to_string(at) + " = " + std::to_string(value));
            }
    }

    // The coaster data's own fields, written by hand.
    for (const auto& change : std::vector<std::function<void(coCdatFields&)>>{
             [](coCdatFields& f) { f.cars = 0; }, [](coCdatFields& f) { f.cars = -5; },
             [](coCdatFields& f) { f.environmentIndex = -1; }, [](coCdatFields& f) { f.type = "..\\x"; },
             [](coCdatFields& f) { f.environment = "/"; }, [](coCdatFields& f) { f.dockType = "a/..\\b"; },
             [](coCdatFields& f) { f.theme = ".."; }, [](coCdatFields& f) { f.soundSet = "c:\\sounds"; }}) {
        coCdatFields fields;
        change(fields);
        LoadMutant(WithCdat(good, Cdat(fields, 4)), "coaster data");
        const std::string cdat = Cdat(fields, 4);
        for (u32 value : counts) {
            // The music folder count of this hand-written chunk.
            std::string bytes = cdat;
            Poke(bytes, bytes.size() - 4 - fields.soundSet.size() - 1, value);
            LoadMutant(WithCdat(good, bytes), "music count " + std::to_string(value));
        }
    }
    EXPECT_GT(mutantsLoaded, 50);
    EXPECT_GT(mutantsRefused, 1000);
    // The world the good file gives, again: nothing stuck from the sweep.
    Load(good);
    EXPECT_EQ(Save("after.csa"), good);
}

TEST_F(coSavedCoasterTest, AFailedSaveLeavesTheOldFile) {
    BuildClosedR1();
    SetUpWorld();
    coRideComputeStats();
    const std::string old = Save();
    coCircuitRemoveLast();
    coSetCoasterWriteSeam([](u32 id) {
        if (id == coChunkPieceList)
            throw fsUnknownX(fsLocator());
    });
    EXPECT_THROW(coSaveCoasterFile(folder.Locator("ride.csa")), fsUnknownX);
    EXPECT_EQ(folder.Read("ride.csa"), old);
    EXPECT_FALSE(fsFileExists(folder.Locator("ride.csa.tmp")));

    // A stale temporary file from an earlier crash is replaced; a folder that does not exist fails cleanly.
    coSetCoasterWriteSeam(nullptr);
    folder.Write("ride.csa.tmp", "stale");
    const std::string saved = Save();
    EXPECT_NE(saved, old);
    EXPECT_FALSE(fsFileExists(folder.Locator("ride.csa.tmp")));
    EXPECT_THROW(coSaveCoasterFile(folder.Locator("missing/ride.csa")), envExceptionX);
}

TEST_F(coSavedCoasterTest, SettingAndSummaryForTheLoadMenu) {
    fsResetRootTable();
    fsAddRootDirectory(7, folder.Locator("Tracks/Steel"));
    fsAddRootDirectory(8, folder.Locator("Environments/Mountain"));
    BuildClosedR1();
    SetUpWorld();
    Save();
    std::string type, environment, dock;
    bool closed = false;
    coReadCoasterSetting(folder.Locator("ride.csa"), type, environment, dock, closed);
    EXPECT_EQ(type, "Steel");
    EXPECT_EQ(environment, "Mountain");
    EXPECT_EQ(dock, "Ironvale");
    EXPECT_TRUE(closed);

    bool valid = false;
    coReadCoasterSummary(folder.Locator("ride.csa"), type, environment, dock, closed, valid);
    EXPECT_TRUE(valid);
    EXPECT_EQ(type, "<Steel>");
    EXPECT_EQ(environment, "<Mountain>");
    EXPECT_EQ(dock, "<Ironvale>");

    definition.typeName = "Wood";
    Save();
    coReadCoasterSummary(folder.Locator("ride.csa"), type, environment, dock, closed, valid);
    EXPECT_FALSE(valid);

    folder.Write("junk.csa", "KSFB\x02\x01\x00\x00garbage");
    coReadCoasterSummary(folder.Locator("junk.csa"), type, environment, dock, closed, valid);
    EXPECT_FALSE(valid);
    coReadCoasterSummary(folder.Locator("none.csa"), type, environment, dock, closed, valid);
    EXPECT_FALSE(valid);
    fsResetRootTable();
}
