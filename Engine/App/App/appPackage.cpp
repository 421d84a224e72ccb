#include "Engine/App/App/appPackage.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appWindow.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("app");
}

// The it package and the app error texts join the first start when those exist.
void appInit() {
    if (g_count.IsFirstStart()) {
        envInit();
        dbgInit();
        appInitTime();
        appSelectApi();
    }
    g_count.CountUp();
}

void appShutdown() {
    if (g_count.CountDown()) {
        dbgShutdown();
        envShutdown();
    }
}

u32 appGetInitCount() {
    return g_count.GetCount();
}
