#include "Engine/App/In/inPackage.h"

#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("in");
}

void inInit() {
    const bool first = g_count.IsFirstStart();
    if (first) {
        envInit();
        dbgInit();
        appInit();
        itInit();
    }
    g_count.CountUp();
    if (first)
        inDeviceManager::Start();
}

void inShutdown() {
    if (g_count.CountDown()) {
        inDeviceManager::Stop();
        itShutdown();
        appShutdown();
        dbgShutdown();
        envShutdown();
    }
}

u32 inGetInitCount() {
    return g_count.GetCount();
}
