#include "Engine/Graphics/G2d/g2dPackage.h"

#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/g2dScreen.h"

namespace {

envPackageCount g_count("g2d");

void StopBeneath() {
    appShutdown();
    itShutdown();
    dbgShutdown();
    envShutdown();
}

} // namespace

void g2dInitialize() {
    if (g_count.IsFirstStart()) {
        envInit();
        dbgInit();
        itInit();
        appInit();
        g2dFontStartup();
        try {
            g2dScreen::Startup();
        } catch (...) {
            g2dFreeResetHandlers();
            StopBeneath();
            throw;
        }
        gfErrorHandler::RegisterPackage(g2dErrorPackage, "g2dErrors.tsf");
    }
    g_count.CountUp();
}

void g2dShutdown() {
    if (g_count.CountDown()) {
        g2dScreen::Shutdown();
        g2dFontShutdown();
        StopBeneath();
    }
}

u32 g2dGetInitCount() {
    return g_count.GetCount();
}
