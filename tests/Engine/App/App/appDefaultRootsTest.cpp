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

TEST_F(appDefaultRootsTest, TheDiscIsFoundByItsLabelInAnyCase) {
    std::string drive = "unchanged";
    appFindDriveByLabel(drive, nullptr);
    EXPECT_EQ(drive, "unchanged");
    appFindDriveByLabel(drive, "loopvane_DISC");
    EXPECT_EQ(drive, "/media/player/LV");
    appFindDriveByLabel(drive, "other DISC");
    EXPECT_EQ(drive, "/media/player/OTHER");
    appFindDriveByLabel(drive, "LoopVane");
    EXPECT_EQ(drive, "");
    folders.volumes.clear();
    drive = "unchanged";
    appFindDriveByLabel(drive, "LoopVane_Disc");
    EXPECT_EQ(drive, "");
}

TEST_F(appDefaultRootsTest, RootsZeroToThreeHoldOneDirectoryEach) {
    fsAddRootDirectory(0, Path({"", "old"}));
    fsAddRootDirectory(0, Path({"", "older"}));
    fsAddRootDirectory(4, Path({"", "game", "root"}));
    appInitDefaultRoots("LOOPVANE_DISC");
    EXPECT_EQ(Root(0), std::vector<fsLocator>{Path({"", "opt", "loopvane", "bin"})});
    EXPECT_EQ(Root(1), std::vector<fsLocator>{Path({"", "media", "player", "LV"})});
    EXPECT_EQ(Root(2), std::vector<fsLocator>{Path({"", "var", "tmp"})});
    EXPECT_EQ(Root(3), std::vector<fsLocator>{Path({"", "home", "player", ".local", "share"})});
    EXPECT_EQ(Root(4), std::vector<fsLocator>{Path({"", "game", "root"})});
    EXPECT_FALSE(fsGetRootDirectory(1, 0).IsRooted());

    // Filled again, nothing doubles: a second fill gives the same table.
    appInitDefaultRoots("LOOPVANE_DISC");
    EXPECT_EQ(Root(0), std::vector<fsLocator>{Path({"", "opt", "loopvane", "bin"})});

    // No disc with the label and no shared folder: those roots hold one empty directory.
    folders.commonAppDataFolder.clear();
    appInitDefaultRoots("Missing");
    ASSERT_EQ(Root(1).size(), 1u);
    EXPECT_EQ(Root(1)[0].GetComponentCount(), 0u);
    ASSERT_EQ(Root(3).size(), 1u);
    EXPECT_EQ(Root(3)[0].GetComponentCount(), 0u);
}

TEST_F(appDefaultRootsTest, TheDiscRootFollowsTheLabelItIsGiven) {
    appInitDefaultRoots(nullptr);
    ASSERT_EQ(Root(1).size(), 1u);
    EXPECT_EQ(Root(1)[0].GetComponentCount(), 0u);
    appSetDiscRoot("other disc");
    EXPECT_EQ(Root(1), std::vector<fsLocator>{Path({"", "media", "player", "OTHER"})});
    EXPECT_EQ(Root(2), std::vector<fsLocator>{Path({"", "var", "tmp"})});
    appSetDiscRoot("gone");
    ASSERT_EQ(Root(1).size(), 1u);
    EXPECT_EQ(Root(1)[0].GetComponentCount(), 0u);
}

TEST_F(appDefaultRootsTest, PathsSplitIntoComponents) {
    fsLocator locator;
    appSplitPath("//a//b c/", locator);
    EXPECT_EQ(locator, Path({"", "a", "b c"}));
    locator.Clear();
    appSplitPath("rel/x\xC3\xA9", locator);
    ASSERT_EQ(locator.GetComponentCount(), 2u);
    EXPECT_EQ(locator.GetComponent(1), envString(u"x\u00E9"));
    locator.Clear();
    appSplitPath("", locator);
    EXPECT_EQ(locator.GetComponentCount(), 0u);
    std::string shared = "kept";
    folders.commonAppDataFolder.clear();
    appGetCommonAppDataFolder(shared);
    EXPECT_EQ(shared, "kept");
}

TEST_F(appDefaultRootsTest, TheFrameworkStartFillsTheRoots) {
    gfInit("LoopVane_Disc", nullptr);
    EXPECT_EQ(Root(0), std::vector<fsLocator>{Path({"", "opt", "loopvane", "bin"})});
    EXPECT_EQ(Root(1), std::vector<fsLocator>{Path({"", "media", "player", "LV"})});
    // The table's own refill goes through the same services.
    folders.tempFolder = "/scratch";
    fsInitRootTable(nullptr);
    EXPECT_EQ(Root(2), std::vector<fsLocator>{Path({"", "scratch"})});
    gfShutdown();
}
