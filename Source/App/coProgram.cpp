#include "Source/App/coProgram.h"

#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/App/App/appSingleInstance.h"
#include "Engine/App/App/appWindow.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Audio/Sn/snPackage.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/Graphics/An/anPackage.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G3d/g3dPackage.h"
#include "Engine/Graphics/Sc/scStack.h"
#include "Source/App/coApp.h"
#include "Source/App/coErrorDisplayerMgr.h"
#include "Source/App/coRenderListConfig.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coErrorPackage.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"

#include <vector>

namespace {

constexpr u32 kG3dErrorPackage = 11;
constexpr u32 kG3dStartFailed = 4;

// The packages started so far, stopped in reverse.
class coStartedPackages {
  public:
    ~coStartedPackages() { StopAll(); }
    void Started(void (*stop)()) { m_stops.push_back(stop); }
    void StopAll() {
        while (!m_stops.empty()) {
            void (*stop)() = m_stops.back();
            m_stops.pop_back();
            stop();
        }
    }

  private:
    std::vector<void (*)()> m_stops;
};

void StartFoundation(coStartedPackages& packages) {
    envInit();
    packages.Started(envShutdown);
    dbgInit();
    packages.Started(dbgShutdown);
    fsInit();
    packages.Started(fsShutdown);
    itInit();
    packages.Started(itShutdown);
    gfInit(nullptr, nullptr);
    packages.Started(gfShutdown);
    coErrorDisplayerMgr::CountDefaultReports();

    fsLocator errors = fsGetRootDirectory(coRootProgram, 0);
    errors.AppendComponent("Errors");
    errors.AppendComponent("Eng");
    gfErrorHandler::SetErrorFileDirectory(errors);
    gfErrorHandler::RegisterPackage(coErrorPackage, envString("coErrors.tsf"));
    coPaths::LoadBasicStrings();
    appInit();
    packages.Started(appShutdown);
}

void ClearGame() {
    coCollisionClearMarkers();
    coCircuitClear();
}

} // namespace

int coRunProgram(const std::string& commandLine, const coProgramSwitches& switches) {
    coStartedPackages packages;
    try {
        appDisableStickyKeys();
        StartFoundation(packages);
        const std::string title = envStringToNarrow(coPaths::GetBasicString(0));
        if (appCheckSingleInstance("LoopvaneApp", title.c_str()))
            return appSecondInstanceExitCode;
        // The 3D package registers its texts only once it has started; its failure to start is told with
        // them.
        gfErrorHandler::RegisterPackage(kG3dErrorPackage, envString("g3dErrors.tsf"));
        try {
            coStartGraphics();
            packages.Started(coStopGraphics);
        } catch (...) {
            gfErrorHandler::Report(gfDisplayNotice, kG3dErrorPackage, kG3dStartFailed, nullptr);
            return coExitNotStarted;
        }
        // The scene and video packages, on top of the game's graphics: the stack's default render lists
        // do not replace the game's.
        g3dStackInit();
        packages.Started(g3dStackShutdown);
        snInit();
        packages.Started(snShutdown);
        gprInit();
        packages.Started(gprShutdown);
        coClearModeTable();
        coCircuitResetFlags();
        packages.Started(ClearGame);
    } catch (...) {
        coReportCurrentException(coAfterReport::GameEnds);
        return switches.frames != 0 ? 1 : coExitNormal;
    }

    bool injectionFailed = false;
    {
        coApp app;
        app.SetCommandLine(commandLine);
        app.SetFrameLimit(switches.frames);
        if (switches.trace)
            app.SetTrace(switches.start);
        app.SetLastFrameHook(switches.lastFrame);
        app.SetFrameStartHook(switches.frameStart);
        app.SetInjector(switches.injector);
        app.SetRandomSeed(switches.randomSeed);
        try {
            app.Run();
        } catch (...) {
            coReportCurrentException(coAfterReport::GameEnds);
            // The loop was left without its stop event: the game is torn down here instead.
            coModeStackClear();
            app.OnStop(nullptr);
        }
        injectionFailed = app.InjectionFailed();
    }
    coModeStackClear();
    coClearModeTable();
    if (injectionFailed)
        return 1;
    if (switches.frames != 0)
        return coErrorDisplayerMgr::GetReportCount() == 0 ? 0 : 1;
    return coExitNormal;
}

void coStartGraphics() {
    anInitialize();
    try {
        g2dInitialize();
    } catch (...) {
        anShutdown();
        throw;
    }
    std::vector<g3dRenderListConfig> lists;
    coBuildRenderListConfigs(lists);
    try {
        g3dInitialize(&lists);
    } catch (...) {
        g2dShutdown();
        anShutdown();
        throw;
    }
    guiSetRenderList(coGuiRenderList);
}

void coStopGraphics() {
    g3dShutdown();
    g2dShutdown();
    anShutdown();
}
