#include "Engine/App/App/appDefaultRoots.h"
#include "Engine/App/App/appStartupTestServices.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Source/Settings/coPaths.h"

#include <gtest/gtest.h>

namespace {

// The built tree as the game finds it when started from it, with a fresh user folder.
struct coInstallationTest : appStartupTestServices {
    void SetUp() override {
        appStartupTestServices::SetUp();
        envInit();
        fsResetRootTable();
        folders.programPath = LV_DATA_DIR "/loopvane";
        folders.commonAppDataFolder = folder.Path();
    }
    void TearDown() override {
        fsResetRootTable();
        envShutdown();
        appStartupTestServices::TearDown();
    }
};

} // namespace

TEST_F(coInstallationTest, EveryRootIsFoundWithoutAWarning) {
    appInitDefaultRoots(nullptr);
    coPaths::LoadBasicStrings();
    coPaths::Init();
    EXPECT_EQ(log.Count("**Warning**"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    for (i32 root = 5; root <= 17; ++root) {
        std::vector<fsLocator> directories;
        fsGetRootDirectories(root, directories);
        EXPECT_EQ(directories.size(), 1u) << root;
    }
    EXPECT_EQ(coPaths::GetBasicString(16), envString("Metric Units: false"));
    EXPECT_EQ(coPaths::GetBasicString(4), envString("Software\\Zandrel Trackwrighting"));

    fsLocator errors;
    fsLocatorFromNativePath(LV_DATA_DIR "/Errors/Eng/coErrors.tsf", errors);
    EXPECT_GT(gfTextSet(errors, 32, true).GetText(2).GetLength(), 10u);
}
