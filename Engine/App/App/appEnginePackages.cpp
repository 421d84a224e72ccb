#include "Engine/App/App/appEnginePackages.h"

#include "Engine/App/App/appDefaultRoots.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_itCount("it");
envPackageCount g_fsCount("fs");
envPackageCount g_gfCount("gf");
} // namespace

void itInit() {
    if (g_itCount.IsFirstStart()) {
        envInit();
        dbgInit();
    }
    g_itCount.CountUp();
}

void itShutdown() {
    if (g_itCount.CountDown()) {
        dbgShutdown();
        envShutdown();
    }
}

u32 itGetInitCount() {
    return g_itCount.GetCount();
}

// The file layer needs no start of its own here: native paths are always UTF-8.
void fsInit() {
    if (g_fsCount.IsFirstStart()) {
        envInit();
        dbgInit();
        itInit();
    }
    g_fsCount.CountUp();
}

void fsShutdown() {
    if (g_fsCount.CountDown()) {
        itShutdown();
        dbgShutdown();
        envShutdown();
    }
}

u32 fsGetInitCount() {
    return g_fsCount.GetCount();
}

void gfInit(const char* label, const fsLocator* errorTextDirectory) {
    if (g_gfCount.IsFirstStart()) {
        envInit();
        dbgInit();
        fsInit();
        itInit();
        gfErrorHandler::Init(errorTextDirectory);
        fsSetRootTableFiller(appInitDefaultRoots);
        fsInitRootTable(label);
    }
    g_gfCount.CountUp();
}

void gfShutdown() {
    if (g_gfCount.CountDown()) {
        gfErrorHandler::Shutdown();
        itShutdown();
        fsShutdown();
        dbgShutdown();
        envShutdown();
    }
}

u32 gfGetInitCount() {
    return g_gfCount.GetCount();
}
