#include "Engine/Graphics/Sc/scStack.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/An/anPackage.h"
#include "Engine/Graphics/G3d/g3dPackage.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Video/Vi/viPackage.h"

void g3dStackInit() {
    dbgInit();
    anInitialize();
    g3dInitialize();
    scInitialize();
    viInit();
}

void g3dStackShutdown() {
    viShutdown();
    scShutdown();
    g3dShutdown();
    anShutdown();
    dbgShutdown();
}
