#include "Engine/Graphics/An/anPackage.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("an");
} // namespace

void anInitialize() {
    if (g_count.IsFirstStart()) {
        envInit();
        dbgInit();
        gfErrorHandler::RegisterPackage(anErrorPackage, "anErrors.tsf");
    }
    g_count.CountUp();
}

void anShutdown() {
    if (g_count.CountDown()) {
        dbgShutdown();
        envShutdown();
    }
}

u32 anGetInitCount() {
    return g_count.GetCount();
}
