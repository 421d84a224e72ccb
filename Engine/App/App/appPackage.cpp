#include "Engine/App/App/appPackage.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/App/appWindow.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("app");
constexpr u32 kAppErrorPackage = 5;
} // namespace

void appInit() {
    if (g_count.IsFirstStart()) {
        envInit();
        dbgInit();
        itInit();
        appInitTime();
        appSelectApi();
        gfErrorHandler::RegisterPackage(kAppErrorPackage, "appErrors.tsf");
    }
    g_count.CountUp();
}

void appShutdown() {
    if (g_count.CountDown()) {
        itShutdown();
        dbgShutdown();
        envShutdown();
    }
}

u32 appGetInitCount() {
    return g_count.GetCount();
}
