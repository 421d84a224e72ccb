#include "Engine/Video/Vi/viPackage.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("vi");
}

void viInit() {
    if (g_count.IsFirstStart()) {
        dbgInit();
        envInit();
        gfErrorHandler::RegisterPackage(viErrorPackage, "viErrors.tsf");
    }
    g_count.CountUp();
}

void viShutdown() {
    if (g_count.CountDown()) {
        envShutdown();
        dbgShutdown();
    }
}

u32 viGetInitCount() {
    return g_count.GetCount();
}
