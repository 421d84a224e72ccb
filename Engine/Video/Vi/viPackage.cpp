#include "Engine/Video/Vi/viPackage.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("vi");
envPackageCount g_level1("vi level 1");
envPackageCount g_level2("vi level 2");

void StartWithDebug(envPackageCount& count) {
    if (count.IsFirstStart())
        dbgInit();
    count.CountUp();
}

void StopWithDebug(envPackageCount& count) {
    if (count.CountDown())
        dbgShutdown();
}
} // namespace

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

void viInitLevel1() {
    StartWithDebug(g_level1);
}
void viShutdownLevel1() {
    StopWithDebug(g_level1);
}
u32 viGetLevel1Count() {
    return g_level1.GetCount();
}

void viInitLevel2() {
    StartWithDebug(g_level2);
}
void viShutdownLevel2() {
    StopWithDebug(g_level2);
}
u32 viGetLevel2Count() {
    return g_level2.GetCount();
}
