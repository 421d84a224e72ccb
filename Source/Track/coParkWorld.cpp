#include "Source/Track/coParkWorld.h"

#include "Source/Settings/coSeam.h"

namespace {
coParkWorld g_empty;
constinit coSeam<coParkWorld> g_installed(g_empty);
} // namespace

coParkWorld& coGetParkWorld() {
    return g_installed.Get();
}

void coSetParkWorld(coParkWorld* world) {
    g_installed.Set(world);
}
