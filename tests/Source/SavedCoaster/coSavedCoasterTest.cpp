#include "Source/SavedCoaster/coSavedCoaster.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Ride/coTrain.h"
#include "Source/SavedCoaster/coInvalidSaveFileX.h"
#include "Source/Settings/coPaths.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coTrackChunks.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <typeinfo>

namespace {

coChunkAt Find(const std::string& bytes, const std::string& id) {
    for (const coChunkAt& chunk : coChunksOf(bytes))
        if (chunk.id == id)
            return chunk;
    ADD_FAILURE() << "no chunk " << id;
    return {};
}

// The file with its top-level CDAT chunk replaced by the given fields (or removed without them).
std::string WithCdat(const std::string& bytes, const coCdatFields* fields, u16 version = 4) {
    const coChunkAt old = Find(bytes, "CDAT");
    coByteBuilder cdat;
    if (fields)
        fields->Write(cdat, version);
    return bytes.substr(0, old.offset) + cdat.bytes + bytes.substr(old.Body() + old.size);
}

// The loader's call that loaded the definitions.
std::string DefinitionsCall(const std::vector<std::string>& log) {
    for (const std::string& call : log)
        if (call.rfind("definitions", 0) == 0)
            return call;
    return "none";
}

// What a failed load must leave alone.
struct WorldSnapshot {
    std::vector<coPiecePose> poses;
    std::vector<std::string> classes;
    bool closed;
    std::string theme;
    u8 drag;
    bool checks;
    coColorScheme colors;
    size_t calls;

    bool operator==(const WorldSnapshot&) const = default;
};

class coSavedCoasterTest : public coCircuitFixture {
    // The switches as the test found them; the file sets both.
    u8 m_dragOn = coGetTrainDragOn();
    bool m_checksOn = coGetCollisionChecks();

  protected:
    coSavedCoasterTest() : services(definition) {
        park.startPosition = maVector3d(0.0f, 2.0f, 0.0f);
        coSetTrainDragOn(1);
        coSetCollisionChecks(true);
        dbgSetLogSink([this](const std::string& line) { warnings.push_back(line); });
    }
    ~coSavedCoasterTest() override {
        coCollisionClearMarkers();
        coSetTrainDragOn(m_dragOn);
        coSetCollisionChecks(m_checksOn);
        coTrackColorizer::ClearCurrent();
        coSelectRideSoundSet("");
        dbgSetLogSink({});
    }

    // A world around the circuit: dock, scheme, props, theme, music, sounds and switches.
    void SetUpWorld() {
        services.hasDock = true;
        services.dockType = "Ironvale";
        services.dockPosition = maVector3d(3.0f, 2.0f, -8.0f);
        services.dockHeading = 0.5f;
        coSchemeMaterial red;
        red.diffuse = g3dARGBColor(0.9f, 0.1f, 0.1f, 1.0f);
        red.ambient.a = red.specular.a = 1.0f; // as a file gives it back
        red.texture = "red.png";
        coTrackColorizer::SetCurrentPart("Rail", red);
        services.placedProps = {"bench", "tree"};
        services.environmentIndex = 2;
        services.musicTrack = 3;
        folder.MakeFolder("music");
        services.musicFolder = folder.Locator("music");
        coSelectRideSoundSet("Classic");
        coSetThemeName("Forest");
        coSetTrainDragOn(1);
        coSetCollisionChecks(false);
    }
    // Every part of the world that the file sets, set otherwise.
    void ScrambleWorld() {
        services.log.clear();
        services.hasDock = false;
        services.dockType = "";
        coSelectRideSoundSet("");
        coTrackColorizer::ClearCurrent();
        services.dockPosition = maVector3d();
        services.dockHeading = 0.0f;
        services.placedProps.clear();
        services.environmentIndex = services.musicTrack = 0;
        services.musicFolder = fsLocator();
        definition.numCars = 9;
        coSetThemeName("Other");
        coSetTrainDragOn(0);
        coSetCollisionChecks(true);
        coCircuitClear();
        coAppendStraight(5.0f);
    }

    std::string Save(const std::string& name = "ride.csa") {
        coSaveCoasterFile(folder.Locator(name));
        return folder.Read(name);
    }
    void Load(const std::string& bytes) { coLoadCoasterFile(folder.Write("in.csa", bytes)); }
    // The closed R1 in the world of SetUpWorld, saved.
    std::string SavedR1() {
        coBuildR1();
        EXPECT_TRUE(coCircuitTryClose());
        SetUpWorld();
        return Save();
    }

    WorldSnapshot Snapshot() const {
        WorldSnapshot s{coCircuitPoses(),
                        {},
                        coCircuitIsClosed(),
                        coGetThemeName(),
                        coGetTrainDragOn(),
                        coGetCollisionChecks(),
                        coTrackColorizer::GetCurrentScheme(),
                        services.log.size()};
        for (const auto& piece : coCircuitPieces())
            s.classes.push_back(typeid(*piece).name());
        return s;
    }

    // A bad file must end in the loader's exception, leaving the world as it was, or load with defaults.
    void LoadMutant(const std::string& bytes, const std::string& what) {
        const WorldSnapshot before = Snapshot();
        try {
            Load(bytes);
            ++mutantsLoaded;
        } catch (const envExceptionX&) {
            ++mutantsRefused;
            EXPECT_TRUE(Snapshot() == before) << what;
        } catch (...) {
            ADD_FAILURE() << what << ": an exception that is not the loader's";
        }
    }
    template <class Exception> void ExpectRefused(const std::string& bytes) {
        const WorldSnapshot before = Snapshot();
        EXPECT_THROW(Load(bytes), Exception);
        EXPECT_TRUE(Snapshot() == before);
    }

    fsTestFolder folder;
    coFileTestDefinition definition;
    coRecordingCoasterServices services;
    std::vector<std::string> warnings;
    int mutantsLoaded = 0;
    int mutantsRefused = 0;
};

} // namespace

TEST_F(coSavedCoasterTest, EmptyCircuitSavesExactBytesAndLoadsBack) {
    coSetSavedCoasterServices(nullptr); // the defaults: no dock, no scheme, an empty prop chunk
    coSetTrainDragOn(0);
    coSelectRideSoundSet("Sea");
    const std::string bytes = Save();
    coSelectRideSoundSet("");

    coByteBuilder expected;
    expected.Header();
    expected.Begin("CDAT", 4);
    for (int i = 0; i < 4; ++i)
        expected.F32(0.0f); // dock position and heading
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
    expected.Str("Sea"); // the ride event sounds' set
    expected.End();
    EXPECT_EQ(bytes, expected.bytes + coChunkBytes("CPLS", "") + coChunkBytes("CPRL", ""));
    EXPECT_FALSE(fsFileExists(folder.Locator("ride.csa.tmp")));

    // The defaults but the coaster type, which would need its folder.
    struct NoDefinitions : coSavedCoasterServices {
        void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
    } defaults;
    coSetSavedCoasterServices(&defaults);
    coLoadCoasterFile(folder.Locator("ride.csa"));
    EXPECT_EQ(std::tuple(coCircuitPieceCount(), coCircuitIsClosed(), coGetRideSoundSet()),
              std::tuple(0, false, "Sea"));
    coSelectRideSoundSet("");
    coSetSavedCoasterServices(&services);
}

TEST_F(coSavedCoasterTest, ReferenceCircuitsRoundTripBitExactly) {
    // Saved, loaded into a world whose every setting differs, and saved again.
    for (const coReferenceCircuit& circuit : coReferenceCircuits) {
        SCOPED_TRACE(circuit.name);
        coBuildReference(circuit);
        SetUpWorld();
        coRideComputeStats();
        const WorldSnapshot saved = Snapshot();
        const std::string first = Save();
        ScrambleWorld();
        coLoadCoasterFile(folder.Locator("ride.csa"));
        EXPECT_EQ(std::tuple(services.log.front(), DefinitionsCall(services.log), Snapshot().classes,
                             coCircuitIsClosed()),
                  std::tuple("clear", "definitions Mountain Steel 2", saved.classes, circuit.closed));
        EXPECT_TRUE(Snapshot().colors == saved.colors);
        // The file keeps the dock's pose, not the track's: the whole circuit is attached to the dock.
        const auto placed = std::find(services.log.begin(), services.log.end(), "place dock");
        ASSERT_NE(placed, services.log.end());
        EXPECT_EQ(*std::next(placed), "attach track " + std::to_string(saved.classes.size()));
        EXPECT_TRUE(first == Save("again.csa"));
    }
}

TEST_F(coSavedCoasterTest, AThumbnailFollowsThePropsAndIsSkippedOnLoad) {
    services.thumbnail = std::string("BM\0\x01picture", 11);
    const std::string bytes = SavedR1();
    const std::vector<coChunkAt> chunks = coChunksOf(bytes);
    ASSERT_GE(chunks.size(), 2u);
    EXPECT_EQ(std::tuple(chunks[chunks.size() - 2].id, chunks.back().id), std::tuple("CPRL", "CSNP"));
    EXPECT_EQ(bytes.substr(chunks.back().Body(), chunks.back().size), services.thumbnail);
    const WorldSnapshot saved = Snapshot();
    ScrambleWorld();
    Load(bytes);
    EXPECT_EQ(Snapshot().classes, saved.classes);
    // An empty circuit has no picture.
    coCircuitClear();
    for (const coChunkAt& chunk : coChunksOf(Save("empty.csa")))
        EXPECT_NE(chunk.id, "CSNP");
}

TEST_F(coSavedCoasterTest, StatisticsAreWrittenInTheFileOrderAndNeverRead) {
    coBuildHillClimb();
    coRideComputeStats();
    SetUpWorld();
    const std::string bytes = Save();
    const coChunkAt stats = Find(bytes, "CSTT");
    ASSERT_EQ(stats.size, 3u * 2 + 13u * 4);
    i16 counts[3];
    std::memcpy(counts, &bytes[stats.Body()], 6);
    // The pieces, one Loop, one Corkscrew.
    EXPECT_EQ(std::tuple(counts[0], counts[1], counts[2]), std::tuple(coCircuitPieceCount(), 1, 1));
    float values[13];
    std::memcpy(values, &bytes[stats.Body() + 6], sizeof values);
    const coRideStats& s = coGetRideStats();
    const std::pair<int, int> order[] = {{0, coStatHighestLateralG}, {3, coStatLowestLateralG},
                                         {6, coStatHighestSpeed},    {7, coStatLowestSpeed},
                                         {9, coStatHighestHeight},   {11, coStatRideTime},
                                         {12, coStatCircuitLength}};
    for (const auto& [at, stat] : order)
        EXPECT_EQ(values[at], s[stat]) << at;
    EXPECT_GT(values[12], 100.0f);
    // A stats chunk full of nonsense is never read.
    std::string odd = bytes;
    for (int i = 0; i < 13; ++i)
        odd = coPatched(odd, stats.Body() + 6 + 4 * i, std::numeric_limits<float>::quiet_NaN());
    Load(odd);
    EXPECT_EQ(coGetRideStats()[coStatCircuitLength], values[12]);
}

TEST_F(coSavedCoasterTest, OlderOrMissingCoasterDataLoadsWithDefaults) {
    const std::string saved = SavedR1();
    coCdatFields fields;
    services.log.clear();
    Load(WithCdat(saved, &fields, 2));
    // No theme: the dock type's.
    EXPECT_EQ(std::tuple(coGetTrainDragOn(), coGetCollisionChecks(), definition.numCars, services.musicTrack,
                         coGetThemeName(), DefinitionsCall(services.log), coCircuitIsClosed(),
                         services.dockPosition.x),
              std::tuple(0, true, 4, 5, "Ironvale", "definitions Mountain Steel 1", true, 1.5f));
    Load(WithCdat(saved, &fields, 3));
    EXPECT_EQ(coGetTrainDragOn(), 1);
    fields.airDrag = 2; // only 1 means on
    Load(WithCdat(saved, &fields, 3));
    EXPECT_EQ(coGetTrainDragOn(), 0);
    Load(WithCdat(saved, &fields, 4));
    EXPECT_EQ(std::tuple(definition.numCars, coGetThemeName()), std::tuple(3, "Forest"));
    ExpectRefused<chInvalidChunkX>(WithCdat(saved, &fields, 0));

    // No coaster data: closed, with the default names; the dock stands at the environment's start.
    services.log.clear();
    Load(WithCdat(saved, nullptr));
    EXPECT_EQ(std::tuple(coCircuitIsClosed(), DefinitionsCall(services.log), services.dockType,
                         services.dockPosition.y),
              std::tuple(true, "definitions Mountain Steel 0", "Ironvale", 2.0f));
    // Said to be closed, but the end lies far from the start: it loads open.
    coCircuitClear();
    coBuildEveryClass();
    Load(WithCdat(Save(), &fields));
    EXPECT_FALSE(coCircuitIsClosed());
}

TEST_F(coSavedCoasterTest, HeaderVersionAndMagic) {
    const std::string bytes = SavedR1();
    std::string newer = bytes;
    newer[5] = 2;
    ExpectRefused<coInvalidSaveFileX>(newer);
    try {
        Load(newer);
    } catch (const coInvalidSaveFileX& e) {
        EXPECT_EQ(e.GetLocator().GetLastComponent(), envString("in.csa"));
    }
    Load("BRFB" + bytes.substr(4));
    EXPECT_EQ(coCircuitPieceCount(), 8);
    ExpectRefused<gfInvalidFileBinX>("XXXX" + bytes.substr(4));
}

TEST_F(coSavedCoasterTest, NamesCarsIndicesAndTheDockFromTheFileAreChecked) {
    const std::string saved = SavedR1();
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
    Load(WithCdat(saved, &fields));
    // Seven warnings: five names, the cars, the index.
    EXPECT_EQ(std::tuple(DefinitionsCall(services.log), definition.numCars, services.dockType,
                         coGetThemeName(), coGetRideSoundSet(), warnings.size()),
              std::tuple("definitions Mountain Steel 0", 4, "Ironvale", "Ironvale", "", 7u));

    fields = coCdatFields();
    fields.cars = -5;
    fields.type = "";
    fields.dock[1] = std::numeric_limits<float>::infinity(); // the dock falls back to the start
    Load(WithCdat(saved, &fields));
    EXPECT_EQ(
        std::tuple(definition.numCars, definition.typeName, services.dockPosition.y, services.dockHeading),
        std::tuple(4, "Steel", 2.0f, 0.0f));
}

TEST_F(coSavedCoasterTest, MusicFolderRules) {
    const std::string saved = SavedR1();
    coCdatFields fields;
    // A stored folder that no longer exists: root 15 with its last component; track 4 becomes 5.
    fields.musicFolder = u"\\nowhere\\at\\all\\";
    fields.musicTrack = 4;
    Load(WithCdat(saved, &fields));
    EXPECT_EQ(services.musicFolder.GetRoot(), 15);
    ASSERT_EQ(services.musicFolder.GetComponentCount(), 1u);
    EXPECT_EQ(std::tuple(services.musicFolder.GetLastComponent(), services.musicTrack),
              std::tuple(envString("all"), 5));

    // An existing folder is taken as it is.
    folder.MakeFolder("tunes");
    const fsLocator tunes = folder.Locator("tunes");
    fields.musicFolder.clear();
    for (u32 i = 0; i < tunes.GetComponentCount(); ++i) {
        const envString& c = tunes.GetComponent(i);
        fields.musicFolder.append(c.GetData() ? c.GetData() : u"", c.GetLength());
        fields.musicFolder += u'\\';
    }
    Load(WithCdat(saved, &fields));
    EXPECT_TRUE(services.musicFolder == tunes);

    // So is an existing file, the player's own track, with its track number.
    folder.Write("tunes/mine.wav", "");
    fields.musicFolder += u"mine.wav\\";
    fields.musicTrack = 4;
    Load(WithCdat(saved, &fields));
    EXPECT_EQ(std::tuple(services.musicFolder == folder.Locator("tunes/mine.wav"), services.musicTrack),
              std::tuple(true, 4));

    // The count must fit in the chunk: after the dock, three names, the closed flag and four bytes.
    const std::string file = WithCdat(saved, &fields);
    const size_t count = Find(file, "CDAT").Body() + 16 + 6 + 9 + 1 + 9 + 4 + 7 + 1;
    u32 stored;
    std::memcpy(&stored, &file[count], 4);
    ASSERT_EQ(stored, static_cast<u32>(fields.musicFolder.size()));
    ExpectRefused<chInvalidChunkX>(coPatched(file, count, u32{0x7FFFFFFF}));
}

TEST_F(coSavedCoasterTest, MutantSweepEndsInTheLoadersExceptionOrDefaults) {
    coBuildEveryClass();
    SetUpWorld();
    coRideComputeStats();
    const std::string good = Save();
    Load(good);
    const float kNaN = std::numeric_limits<float>::quiet_NaN(), kInf = std::numeric_limits<float>::infinity();
    const u32 counts[] = {0xFFFFFFFFu, 0u, 1u, 32767u, 0x7FFFFFFFu};

    for (size_t n = 0; n < good.size(); ++n)
        LoadMutant(good.substr(0, n), "truncated at " + std::to_string(n));
    for (const coChunkAt& chunk : coChunksOf(good)) {
        const std::string at = chunk.id + " at " + std::to_string(chunk.offset);
        for (u32 value : counts)
            LoadMutant(coPatched(good, chunk.offset + 4, value), at + " size " + std::to_string(value));
        if (chunk.id == "CPTS")
            for (i16 value : {i16{-1}, i16{0}, i16{1}, i16{32767}})
                LoadMutant(coPatched(good, chunk.Body(), value), at + " count " + std::to_string(value));
        if (chunk.id == "REVS")
            for (u32 value : counts)
                LoadMutant(coPatched(good, chunk.Body(), value), at + " " + std::to_string(value));
        std::vector<size_t> floats = coPieceFloatsAt(chunk);
        if (chunk.id == "CDAT" || chunk.id == "CSTT")
            for (size_t i = 0; i < (chunk.id == "CDAT" ? 4u : 13u); ++i)
                floats.push_back(chunk.Body() + (chunk.id == "CDAT" ? 0 : 6) + 4 * i);
        for (size_t offset : floats)
            for (float value : {kNaN, kInf, 0.0f})
                LoadMutant(coPatched(good, offset, value), at + " float " + std::to_string(value));
    }

    // The coaster data's own fields, written by hand, each with every music folder count.
    const std::function<void(coCdatFields&)> changes[] = {[](coCdatFields& f) { f.cars = 0; },
                                                          [](coCdatFields& f) { f.cars = -5; },
                                                          [](coCdatFields& f) { f.environmentIndex = -1; },
                                                          [](coCdatFields& f) { f.type = "..\\x"; },
                                                          [](coCdatFields& f) { f.environment = "/"; },
                                                          [](coCdatFields& f) { f.dockType = "a/..\\b"; },
                                                          [](coCdatFields& f) { f.theme = ".."; },
                                                          [](coCdatFields& f) { f.soundSet = "c:\\sounds"; }};
    for (const auto& change : changes) {
        coCdatFields fields;
        change(fields);
        const std::string file = WithCdat(good, &fields);
        LoadMutant(file, "coaster data");
        const size_t musicCount =
            Find(file, "CDAT").Body() + Find(file, "CDAT").size - fields.soundSet.size() - 5;
        for (u32 value : counts)
            LoadMutant(coPatched(file, musicCount, value), "music count " + std::to_string(value));
    }
    EXPECT_GT(mutantsLoaded, 50);
    EXPECT_GT(mutantsRefused, 1000);
    // The world the good file gives, again: nothing stuck from the sweep.
    Load(good);
    EXPECT_EQ(Save("after.csa"), good);
}

TEST_F(coSavedCoasterTest, AFailedSaveLeavesTheOldFile) {
    const std::string old = SavedR1();
    coCircuitRemoveLast();
    {
        const fsWriteCalls failing(EIO);
        EXPECT_THROW(coSaveCoasterFile(folder.Locator("ride.csa")), fsUnknownX);
    }
    EXPECT_EQ(folder.Read("ride.csa"), old);
    EXPECT_FALSE(fsFileExists(folder.Locator("ride.csa.tmp")));

    // A file under another write's temporary name is never touched; a folder that does not exist fails
    // cleanly.
    folder.Write("ride.csa.tmp", "stale");
    EXPECT_NE(Save(), old);
    EXPECT_EQ(folder.Read("ride.csa.tmp"), "stale");
    EXPECT_THROW(coSaveCoasterFile(folder.Locator("missing/ride.csa")), envExceptionX);
}

TEST_F(coSavedCoasterTest, SavingTakesFewWriteCalls) {
    // The stream collects the file: not a system call for every value.
    const fsWriteCalls writes;
    SavedR1();
    EXPECT_LT(writes.GetCount(), 10);
}

TEST_F(coSavedCoasterTest, SettingAndSummaryForTheLoadMenu) {
    fsResetRootTable();
    fsAddRootDirectory(coRootTracks, folder.Locator("Tracks/Steel"));
    fsAddRootDirectory(coRootEnvironments, folder.Locator("Environments/Mountain"));
    SavedR1();
    std::string type, environment, dock;
    bool closed = false, valid = false;
    coReadCoasterSetting(folder.Locator("ride.csa"), type, environment, dock, closed);
    EXPECT_EQ(type + " " + environment + " " + dock, "Steel Mountain Ironvale");
    EXPECT_TRUE(closed);
    coReadCoasterSummary(folder.Locator("ride.csa"), type, environment, dock, closed, valid);
    EXPECT_TRUE(valid);
    EXPECT_EQ(type + " " + environment + " " + dock, "<Steel> <Mountain> <Ironvale>");

    // A coaster type without a folder and no file at all are not valid; a file of no coasters throws.
    definition.typeName = "Wood";
    Save();
    folder.Write("junk.csa", "KSFB\x02\x01\x00\x00garbage");
    for (const char* name : {"ride.csa", "none.csa"}) {
        coReadCoasterSummary(folder.Locator(name), type, environment, dock, closed, valid);
        EXPECT_FALSE(valid) << name;
    }
    EXPECT_THROW(coReadCoasterSummary(folder.Locator("junk.csa"), type, environment, dock, closed, valid),
                 envExceptionX);
    fsResetRootTable();
}
