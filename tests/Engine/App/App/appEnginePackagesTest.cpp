#include "Engine/App/App/appEnginePackages.h"
#include "appStartupTestServices.h"

#include "Engine/App/App/appPackage.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/envEnvironment.h"

namespace {

struct appEnginePackagesTest : appStartupTestServices {
    void TearDown() override {
        fsSetRootTableFiller({});
        fsResetRootTable();
        appStartupTestServices::TearDown();
    }
};

} // namespace

// The program's order starts each package once more under those above it and registers the error
// texts; the reverse order stops everything, with no stop too many.
TEST_F(appEnginePackagesTest, TheProgramOrderStartsAndStopsEverything) {
    const fsLocator errors = folder.Locator("Errors");
    itInit();
    fsInit();
    gfInit(nullptr, &errors);
    appInit();
    EXPECT_EQ(itGetInitCount(), 4u); // itself, and under fs, gf and app
    EXPECT_EQ(fsGetInitCount(), 2u); // itself, and under gf
    EXPECT_EQ(envGetOSKind(), 6u);
    EXPECT_EQ(gfErrorHandler::GetErrorFileDirectory(), errors);
    EXPECT_EQ(*gfErrorHandler::GetPackageFile(5), envString("appErrors.tsf"));
    appShutdown();
    gfShutdown();
    fsShutdown();
    itShutdown();
    EXPECT_EQ(envGetInitCount(), 0u);
    EXPECT_EQ(gfErrorHandler::GetPackageFile(4), nullptr); // the registry went with the gf package
    EXPECT_EQ(log.Count("**Warning**"), 0u);
}

TEST_F(appEnginePackagesTest, StartedTwiceAndStoppedOnceAPackageStaysStarted) {
    const auto check = [&](const char* name, void (*init)(), void (*shutdown)(), u32 (*count)()) {
        SCOPED_TRACE(name);
        init();
        init();
        shutdown();
        EXPECT_EQ(count(), 1u);
        EXPECT_GT(envGetInitCount(), 0u);
        EXPECT_GT(dbgGetInitCount(), 0u);
        shutdown();
        EXPECT_EQ(count(), 0u);
        EXPECT_EQ(envGetInitCount(), 0u);
        // A stop too many is refused with a warning and does not disable the next start.
        log.lines.clear();
        shutdown();
        EXPECT_EQ(count(), 0u);
        EXPECT_EQ(log.Count(std::string(name) + " shut down more often than started; ignored"), 1u);
        init();
        EXPECT_EQ(count(), 1u);
        shutdown();
    };
    check("it", itInit, itShutdown, itGetInitCount);
    check("fs", fsInit, fsShutdown, fsGetInitCount);
    check(
        "gf", [] { gfInit(nullptr, nullptr); }, gfShutdown, gfGetInitCount);
    check("app", appInit, appShutdown, appGetInitCount);
    EXPECT_EQ(itGetInitCount(), 0u);
    EXPECT_EQ(fsGetInitCount(), 0u);
}
