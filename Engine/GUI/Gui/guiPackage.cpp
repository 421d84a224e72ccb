#include "Engine/GUI/Gui/guiPackage.h"

#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/App/In/inPackage.h"
#include "Engine/Audio/Sn/snPackage.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dPackage.h"

namespace {

envPackageCount g_count("gui");
i32 g_renderList = 3;
guiStartLog g_log;

struct Step {
    const char* name;
    void (*start)();
    void (*stop)();
};

// The 2D package; the 3D and animation packages join here, in that order after it, once they have
// starts of their own.
void StartRendering() {
    g2dInitialize();
}

void StopRendering() {
    g2dShutdown();
}

// A device start that throws leaves the input package counted; its stop releases what was made.
void StartInput() {
    try {
        inInit();
    } catch (...) {
        inShutdown();
        throw;
    }
}

// Started in this order, stopped in the reverse.
constexpr Step kPackages[] = {
    {"env", envInit, envShutdown},  {"dbg", dbgInit, dbgShutdown},
    {"it", itInit, itShutdown},     {"fs", fsInit, fsShutdown},
    {"in", StartInput, inShutdown}, {"rendering", StartRendering, StopRendering},
    {"sn", snInit, snShutdown},
};

void StopPackages(size_t count) {
    while (count > 0) {
        const Step& step = kPackages[--count];
        guiLogStartStep(step.name);
        step.stop();
    }
}

void StartPackages() {
    size_t started = 0;
    try {
        for (const Step& step : kPackages) {
            guiLogStartStep(step.name);
            step.start();
            ++started;
        }
    } catch (...) {
        // A package that cannot start leaves nothing of the GUI started.
        StopPackages(started);
        throw;
    }
}

} // namespace

void guiInit() {
    if (g_count.IsFirstStart()) {
        StartPackages();
        guiLogStartStep("cursor");
        guiCursorMgr::Create();
        guiLogStartStep("root");
        guiWindowMgr::Create();
        guiLogStartStep("cues");
        guiSoundCues::Reset();
        guiLogStartStep("errors");
        gfErrorHandler::RegisterPackage(guiErrorPackage, "guiErrors.tsf");
    }
    g_count.CountUp();
}

void guiShutdown() {
    if (g_count.CountDown()) {
        guiLogStartStep("cues");
        guiSoundCues::Clear();
        guiLogStartStep("root");
        // The tooltip lies outside the window tree, so the root's end does not reach it.
        guiToolTip::Destroy();
        guiWindowMgr::Destroy();
        guiLogStartStep("cursor");
        guiCursorMgr::Destroy();
        StopPackages(std::size(kPackages));
    }
}

u32 guiGetInitCount() {
    return g_count.GetCount();
}

void guiSetRenderList(i32 list) {
    g_renderList = list;
}

i32 guiGetRenderList() {
    return g_renderList;
}

void guiSetStartLog(guiStartLog log) {
    g_log = std::move(log);
}

void guiLogStartStep(const char* step) {
    if (g_log)
        g_log(step);
}
