#include "Engine/App/In/inPackage.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("in");
}

void inInit() {
    if (g_count.IsFirstStart()) {
        envInit();
        dbgInit();
    }
    g_count.CountUp();
}

void inShutdown() {
    if (g_count.CountDown()) {
        dbgShutdown();
        envShutdown();
    }
}

u32 inGetInitCount() { return g_count.GetCount(); }
