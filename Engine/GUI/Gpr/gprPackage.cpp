#include "Engine/GUI/Gpr/gprPackage.h"

#include "Engine/App/Ch/chPackage.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiWindow.h"

namespace {

envPackageCount g_count("gpr");
std::map<std::string, i32> g_stateNames;

void FillStateNames() {
    g_stateNames.insert({{"Idle", guiStateIdle},
                         {"Over", guiStateOver},
                         {"Released", guiStateReleased},
                         {"Pressed", guiStatePressed},
                         {"Held", guiStateHeld},
                         {"Disabled", guiStateDisabled}});
}

} // namespace

void gprInit() {
    if (g_count.IsFirstStart()) {
        guiLogStartStep("env");
        envInit();
        guiLogStartStep("dbg");
        dbgInit();
        guiLogStartStep("ch");
        chInit();
        guiLogStartStep("names");
        FillStateNames();
        guiLogStartStep("errors");
        gfErrorHandler::RegisterPackage(gprErrorPackage, "gprErrors.tsf");
    }
    g_count.CountUp();
}

void gprShutdown() {
    if (g_count.CountDown()) {
        guiLogStartStep("names");
        g_stateNames.clear();
        guiLogStartStep("ch");
        chShutdown();
        guiLogStartStep("dbg");
        dbgShutdown();
        guiLogStartStep("env");
        envShutdown();
    }
}

u32 gprGetInitCount() {
    return g_count.GetCount();
}

std::map<std::string, i32>& gprGetStateNames() {
    return g_stateNames;
}
