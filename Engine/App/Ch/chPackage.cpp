#include "Engine/App/Ch/chPackage.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("ch");
}

void chInit() {
    if (g_count.IsFirstStart()) {
        envInit();
        dbgInit();
        gfErrorHandler::RegisterPackage(chErrorPackage, "chErrors.tsf");
    }
    g_count.CountUp();
}

void chShutdown() {
    if (g_count.CountDown()) {
        dbgShutdown();
        envShutdown();
    }
}

u32 chGetInitCount() {
    return g_count.GetCount();
}
