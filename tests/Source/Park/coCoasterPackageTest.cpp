#include "Source/Park/coCoasterPackage.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Track/coCircuit.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include "Source/Track/coCircuitTestSupport.h"
#include "Source/TrackGeom/coTrackGeomTestSupport.h"

namespace {

// The environment, the dock palette and the loading screen, logged in one list.
struct RecordingHooks : coCoasterPackageHooks {
    RecordingHooks() { coSetCoasterPackageHooks(this); }
    ~RecordingHooks() override { coSetCoasterPackageHooks(nullptr); }
    void LoadEnvironment(int index) override {
        log.push_back("environment " + std::to_string(index));
        coCoasterPackageHooks::LoadEnvironment(index);
    }
    void SetEnvironmentName(const std::string& name) override {
        log.push_back("name " + name);
        coCoasterPackageHooks::SetEnvironmentName(name);
    }
    void RebuildDockPalette() override { log.push_back("palette"); }
    void ShowLoadingScreen(bool restart) override { log.push_back(restart ? "restart" : "refresh"); }
    std::vector<std::string> log;
};

// Steel's three definitions loose under "Tracks", its "Coaster.def" also in "Steel.pak"; the environment
// "Mountain" under root 8 and the saves under root 9.
struct coCoasterPackageTest : coTrackGeomTest {
    RecordingHooks hooks;
    coRecordingTrackBuilder builder;

    void SetUp() override {
        coTrackGeomTest::SetUp();
        coCoasterDefinitionStore().SetCoasterTypeName("");
        textures.known = {"shadow.png"};
        fsAddRootDirectory(coRootEnvironments, folder.Locator("Environments"));
        folder.MakeFolder("Saves");
        fsAddRootDirectory(coRootSaves, folder.Locator("Saves"));
        folder.Write("Tracks/Steel/Track.def", "Track { }");
        folder.Write("Tracks/Steel/Support.def", "Support { }");
        folder.Write("Tracks/Steel/Coaster.def", "CoasterDefinition { NumCars 2 }");
        WritePak(3);
        coPakManager::Create();
    }
    void TearDown() override {
        coPakManager::Destroy();
        coDestroyShadowMaterial();
        coTrackColorizer::ClearSchemes();
        coTrackColorizer::ClearCurrent();
        coCircuitClear();
        coTrackGeomTest::TearDown();
    }
    void WritePak(int cars) {
        gfPakBuilderLayout layout;
        layout.entries = {{"Coaster.def", "CoasterDefinition { NumCars " + std::to_string(cars) + " }"}};
        folder.Write("Tracks/Steel.pak", gfBuildPak(layout));
    }
    // A colours file of `count` empty schemes.
    void WriteColors(const std::string& path, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "ColorScheme { }\n";
        folder.Write(path, text);
    }
    void Load(const std::string& type = "Steel") {
        hooks.log.clear();
        coLoadCoasterDefinitions("Mountain", type, 2);
    }
};

const std::string kPlayerCopy = "Saves/Track Color Preference Settings/Mountain/Tracks/Steel/TrkColor.def";
const std::string kShipped = "Environments/Mountain/Tracks/Steel/TrkColor.def";

} // namespace

TEST_F(coCoasterPackageTest, LoadsInOrderAndPrefersThePlayersColours) {
    Load();
    const std::vector<std::string> expected = {"environment 2", "refresh", "name Mountain", "palette",
                                               "refresh",       "refresh", "refresh",       "refresh",
                                               "refresh",       "refresh"};
    EXPECT_EQ(hooks.log, expected);
    // The cars from the pak; neither colour copy: the built-in schemes, the first applied.
    EXPECT_EQ(std::tuple(coCoasterDefinitionStore().GetNumCars(), coPakManager::GetOpenCoasterType(),
                         log.Holds("built-in"), coTrackColorizer::GetSchemeCount(),
                         coTrackColorizer::GetCurrentScheme().size()),
              std::tuple(3, envString("Steel"), true, 3, 4u));
    ASSERT_NE(coGetShadowMaterial(), nullptr);

    // The same type again: paks reopened, no palette; the shipped copy, then the player's.
    WritePak(5);
    WriteColors(kShipped, 1);
    Load();
    EXPECT_EQ(std::tuple(std::count(hooks.log.begin(), hooks.log.end(), "palette"),
                         coCoasterDefinitionStore().GetNumCars(), coTrackColorizer::GetSchemeCount()),
              std::tuple(0, 5, 1));
    WriteColors(kPlayerCopy, 2);
    Load();
    EXPECT_EQ(coTrackColorizer::GetSchemeCount(), 2);
    // A player's copy damaged in its chunks or in its tokens gives way to the shipped one.
    for (const char* damaged : {"ColorScheme { Material { Name Rail\nDiffuse 1", "ColorScheme { \"Rail\n"}) {
        folder.Write(kPlayerCopy, damaged);
        Load();
        EXPECT_EQ(std::tuple(coTrackColorizer::GetSchemeCount(), log.Holds("cannot be read")),
                  std::tuple(1, true))
            << damaged;
    }

    // Saving creates the four folder levels.
    fsDeleteFileTree(folder.Locator("Saves/Track Color Preference Settings"));
    coSaveTrackColors();
    EXPECT_TRUE(fsFileExists(folder.Locator(kPlayerCopy)));
}

TEST_F(coCoasterPackageTest, AReloadUnderALiveCircuitRebuildsEveryPiece) {
    coAppendStraight(10.0f);
    coAppendStraight(10.0f);
    builder.rebuilt.clear();
    Load();
    ASSERT_EQ(builder.rebuilt.size(), 1u);
    EXPECT_EQ(builder.rebuilt[0], std::make_pair(coCircuitFirstPiece(), 2));
}

TEST_F(coCoasterPackageTest, AFailureLeavesNoTypeAndTheRetryRebuildsThePalette) {
    folder.Write("Tracks/Steel/Track.def", "Track { Rail { Material { Diffuse 1 } } }");
    EXPECT_THROW(Load(), envExceptionX);
    EXPECT_EQ(coCoasterDefinitionStore().GetCoasterTypeName(), "");
    EXPECT_EQ(coPakManager::GetOpenCoasterType().GetLength(), 0u);
    folder.Write("Tracks/Steel/Track.def", "Track { }");
    Load();
    EXPECT_EQ(std::count(hooks.log.begin(), hooks.log.end(), "palette"), 1);

    // Names that are not one plain folder name change nothing and create nothing.
    for (const char* name : {"../x", "a/b", "..", ""}) {
        hooks.log.clear();
        EXPECT_THROW(coLoadCoasterDefinitions(name, "Steel", 0), fsInvalidLocatorX) << name;
        EXPECT_THROW(coLoadCoasterDefinitions("Mountain", name, 0), fsInvalidLocatorX) << name;
        EXPECT_TRUE(hooks.log.empty());
        EXPECT_EQ(coCoasterDefinitionStore().GetCoasterTypeName(), "Steel");
        hooks.SetEnvironmentName(name);
        EXPECT_THROW(coSaveTrackColors(), fsInvalidLocatorX);
    }
    EXPECT_FALSE(fsDirectoryExists(folder.Locator("Saves/Track Color Preference Settings")));
}
