#include "Source/Modes/coMenuWorld.h"

#include "Source/Park/coWorldSwitches.h"
#include "Source/SavedCoaster/coSavedCoaster.h"

namespace {

coMenuWorld g_empty;
coMenuWorld* g_world = &g_empty;

} // namespace

void coMenuWorld::ClearScene() {
    coClearScene();
}

void coMenuWorld::LoadCoaster(const fsLocator& file) {
    coLoadCoasterFile(file);
}

void coSetMenuWorld(coMenuWorld* world) {
    g_world = world ? world : &g_empty;
}

coMenuWorld& coGetMenuWorld() {
    return *g_world;
}
