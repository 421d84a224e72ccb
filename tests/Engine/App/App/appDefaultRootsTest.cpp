#include "Engine/App/App/appDefaultRoots.h"
#include "appStartupTestServices.h"

#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/Fs/fsRootTable.h"

#include <initializer_list>

namespace {

fsLocator Path(std::initializer_list<const char*> parts) {
    fsLocator locator;
    for (const char* part : parts)
        locator.AppendComponent(part);
    return locator;
}

struct appDefaultRootsTest : appStartupTestServices {
    void SetUp() override {
        appStartupTestServices::SetUp();
        fsResetRootTable();
        folders.programPath = "/opt/loopvane/bin/loopvane";
        folders.tempFolder = "/var/tmp";
        folders.commonAppDataFolder = "/home/player/.local/share";
        folders.volumes = {{"/media/player/OTHER", "Other disc"}, {"/media/player/LV", "LoopVane_Disc"}};
    }
    void TearDown() override {
        fsSetRootTableFiller({});
        fsResetRootTable();
        appStartupTestServices::TearDown();
    }
    static std::vector<fsLocator> Root(i32 root) {
        std::vector<fsLocator> directories;
        fsGetRootDirectories(root, directories);
        return directories;
    }
};

} // namespace

// Two optical mounts: the label in another case finds the right one; no match gives "".
TEST_F(appDefaultRootsTest, TheDiscIsFoundByItsLabelInAnyCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"loopvane_DISC", "/media/player/LV"}, {"other DISC", "/media/player/OTHER"}, {"LoopVane", ""}};
    for (const auto& [label, drive] : cases) {
        std::string found = "unchanged";
        appFindDriveByLabel(found, label);
        EXPECT_EQ(found, drive) << label;
    }
    std::string found = "unchanged";
    appFindDriveByLabel(found, nullptr);
    EXPECT_EQ(found, "unchanged");
}

TEST_F(appDefaultRootsTest, RootsZeroToThreeHoldOneDirectoryEach) {
    fsAddRootDirectory(0, Path({"", "old"}));
    fsAddRootDirectory(0, Path({"", "older"}));
    fsAddRootDirectory(4, Path({"", "game", "root"}));
    // Filled twice, nothing doubles; other roots are left alone.
    for (int fill = 0; fill < 2; ++fill)
        appInitDefaultRoots("LOOPVANE_DISC");
    EXPECT_EQ(Root(0), std::vector<fsLocator>{Path({"", "opt", "loopvane", "bin"})});
    EXPECT_EQ(Root(1), std::vector<fsLocator>{Path({"", "media", "player", "LV"})});
    EXPECT_EQ(Root(2), std::vector<fsLocator>{Path({"", "var", "tmp"})});
    EXPECT_EQ(Root(3), std::vector<fsLocator>{Path({"", "home", "player", ".local", "share"})});
    EXPECT_EQ(Root(4), std::vector<fsLocator>{Path({"", "game", "root"})});

    // No disc with the label and no shared folder: those roots hold one empty directory.
    folders.commonAppDataFolder.clear();
    appInitDefaultRoots("Missing");
    EXPECT_EQ(Root(1), std::vector<fsLocator>{fsLocator()});
    EXPECT_EQ(Root(3), std::vector<fsLocator>{fsLocator()});
    // The disc root follows the label it is given.
    appSetDiscRoot("other disc");
    EXPECT_EQ(Root(1), std::vector<fsLocator>{Path({"", "media", "player", "OTHER"})});
    appSetDiscRoot("gone");
    EXPECT_EQ(Root(1), std::vector<fsLocator>{fsLocator()});
}

TEST_F(appDefaultRootsTest, PathsSplitIntoComponents) {
    fsLocator locator;
    appSplitPath("//a//b c/", locator);
    EXPECT_EQ(locator, Path({"", "a", "b c"}));
    locator.Clear();
    appSplitPath("rel/x\xC3\xA9", locator);
    fsLocator expected = Path({"rel"});
    expected.AppendComponent(envString(u"x\u00E9"));
    EXPECT_EQ(locator, expected);
}

TEST_F(appDefaultRootsTest, TheFrameworkStartFillsTheRoots) {
    gfInit("LoopVane_Disc", nullptr);
    EXPECT_EQ(Root(1), std::vector<fsLocator>{Path({"", "media", "player", "LV"})});
    // The table's own refill goes through the same services.
    folders.tempFolder = "/scratch";
    fsInitRootTable(nullptr);
    EXPECT_EQ(Root(2), std::vector<fsLocator>{Path({"", "scratch"})});
    gfShutdown();
}
