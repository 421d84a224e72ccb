#include "Engine/Graphics/G3d/g3dPackage.h"

#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"
#include "Engine/Graphics/An/anPackage.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dHardware.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"

#include <string>

namespace {

envPackageCount g_count("g3d");
std::vector<g3dRenderListConfig> g_lists;

void StopBeneath() {
    g2dShutdown();
    anShutdown();
    appShutdown();
    itShutdown();
    dbgShutdown();
    envShutdown();
}

void StartManagers() {
    g3dLightManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize(g_lists);
    g3dFragmentManager::Initialize();
}

void StopManagers() {
    g3dLightManager::Shutdown();
    g3dRenderer::Shutdown();
}

} // namespace

void g3dInitialize(const std::vector<g3dRenderListConfig>* lists) {
    if (g_count.IsFirstStart()) {
        envInit();
        dbgInit();
        itInit();
        appInit();
        anInitialize();
        try {
            g2dInitialize();
        } catch (...) {
            anShutdown();
            appShutdown();
            itShutdown();
            dbgShutdown();
            envShutdown();
            throw;
        }
        // The hardware is checked before the managers register their reset handlers, which the list
        // could not take back after a failed start.
        try {
            std::string adapterName;
            g3dCheckHardware(adapterName);
        } catch (...) {
            StopBeneath();
            throw;
        }
        g_lists = lists ? *lists : g3dDefaultRenderLists();
        StartManagers();
        gfErrorHandler::RegisterPackage(g3dErrorPackage, "g3dErrors.tsf");
    }
    g_count.CountUp();
}

void g3dShutdown() {
    if (g_count.CountDown()) {
        StopManagers();
        StopBeneath();
    }
}

u32 g3dGetInitCount() {
    return g_count.GetCount();
}

const std::vector<g3dRenderListConfig>& g3dGetRenderListConfig() {
    return g_lists;
}
