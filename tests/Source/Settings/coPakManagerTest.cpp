#include "Source/Settings/coPakManager.h"

#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakBuilder.h"
#include "Source/Settings/coPaths.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Two directories in the coaster-type root, each with the type's pak, a GUI pak and a geometry pak;
// every file also lies on disc, where it reads "disc".
struct coPakManagerTest : ::testing::Test {
    fsTestFolder folder;

    void SetUp() override {
        fsResetRootTable();
        AddPak("a", coRootTracks, "Steel.pak", {{"track.def", "pak a"}});
        AddPak("b", coRootTracks, "Steel.pak", {{"Track.def", "pak b"}, {"Extra.def", "pak b extra"}});
        AddPak("gui", coRootGui, "gui.pak",
               {{"Menu/a.png", "pak"}, {"Menu/B.PNG", "pak"}, {"Tools/t.png", "pak"}, {"a.png", "pak"}});
        AddPak("geom", coRootGeom, "geom.pak", {{"Props/p.prd", "pak"}});
        for (const char* file : {"a/Steel/Track.def", "a/Steel/Extra.def", "a/Steel/Sub/Track.def",
                                 "a/Wood/Track.def", "gui/Menu/a.png", "gui/a.png", "gui/Menu/B.PNG",
                                 "gui/Tools/t.png", "geom/Props/p.prd", "x/y.png"})
            folder.Write(file, "disc");
        fsAddRootDirectory(coRootData, folder.Locator("x"));
        coPakManager::Create();
    }
    void TearDown() override {
        coPakManager::Destroy();
        fsResetRootTable();
    }
    void AddPak(const std::string& directory, i32 root, const std::string& name,
                const std::vector<gfPakBuilderEntry>& entries) {
        gfPakBuilderLayout layout;
        layout.entries = entries;
        folder.Write(directory + "/" + name, gfBuildPak(layout));
        fsAddRootDirectory(root, folder.Locator(directory));
    }
    static std::string Read(i32 root, const std::string& path) {
        gfFile file(fsRootedLocator(root, path), 0);
        std::string data(file.GetSize(), '\0');
        file.Read(file.GetSize(), data.data());
        return data;
    }
};

} // namespace

TEST_F(coPakManagerTest, ReadsAreRoutedByRoot) {
    struct Case {
        i32 root;
        const char* path;
        const char* closed; // before any set is opened
        const char* open;
    };
    const Case cases[] = {
        {coRootTracks, "Steel/Track.def", "disc", "pak a"},       // the first directory's pak wins
        {coRootTracks, "Steel/Extra.def", "disc", "pak b extra"}, // the second answers what the first lacks
        {coRootTracks, "Steel/Sub/Track.def", "disc", "pak a"},   // type paks are flat: by file name
        {coRootTracks, "Wood/Track.def", "disc", "disc"},         // not the open type
        {coRootGui, "Menu/a.png", "disc", "pak"},
        {coRootGui, "a.png", "disc", "pak"},        // five units are enough
        {coRootGui, "Menu/B.PNG", "disc", "disc"},  // the extension test is case-sensitive
        {coRootGui, "Tools/t.png", "disc", "disc"}, // tool images are always on disc
        {coRootGeom, "Props/p.prd", "disc", "pak"},
        {coRootData, "y.png", "disc", "disc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.root, c.path), c.closed) << c.path;
    coPakManager::OpenGuiPaks();
    coPakManager::OpenGeomPaks();
    coPakManager::OpenCoasterPaks("Steel");
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.root, c.path), c.open) << c.path;

    // Locators without components are never looked up.
    coPakManager::coPakLocator locator;
    fsLocator inPak;
    for (i32 root : {coRootTracks, coRootGui, coRootGeom})
        EXPECT_EQ(locator.Locate(root, fsLocator(root), inPak), nullptr) << root;
    folder.Write("gui/g.png", "disc");
    AddPak("gui2", coRootGui, "gui.pak", {{"g.png", "pak"}});
    coPakManager::OpenGuiPaks();
    EXPECT_EQ(Read(coRootGui, "g.png"), "pak");

    coPakManager::CloseGeomPaks();
    coPakManager::CloseCoasterPaks();
    EXPECT_EQ(std::tuple(coPakManager::GetOpenCoasterType().GetLength(), Read(coRootGeom, "Props/p.prd"),
                         Read(coRootTracks, "Steel/Track.def")),
              std::tuple(0u, "disc", "disc"));
}

// A stream opened from a type's pak stays readable when the type's paks are closed and reopened.
TEST_F(coPakManagerTest, StreamsOutliveTheirPaks) {
    coPakManager::OpenCoasterPaks("Steel");
    gfFile file(fsRootedLocator(coRootTracks, "Steel/Extra.def"), 0);
    ASSERT_TRUE(file.IsFromPak());
    char head[4];
    ASSERT_EQ(file.Read(4, head), 4u);
    coPakManager::OpenCoasterPaks("Steel");
    coPakManager::OpenCoasterPaks("Wood");
    char rest[16];
    ASSERT_EQ(file.Read(sizeof rest, rest), 7u);
    EXPECT_EQ(std::string(head, 4) + std::string(rest, 7), "pak b extra");
    EXPECT_EQ(Read(coRootTracks, "Steel/Extra.def"), "disc");
}
