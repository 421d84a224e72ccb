#include "Source/Modes/coMenuWorld.h"

#include "Source/Park/coWorldSwitches.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coSeam.h"

namespace {

coMenuWorld g_empty;
constinit coSeam<coMenuWorld> g_world(g_empty);

} // namespace

void coMenuWorld::ClearScene() {
    coClearScene();
}

void coMenuWorld::LoadCoaster(const fsLocator& file) {
    coLoadCoasterFile(file);
}

void coSetMenuWorld(coMenuWorld* world) {
    g_world.Set(world);
}

coMenuWorld& coGetMenuWorld() {
    return g_world.Get();
}
