#include "Source/Track/coParkWorld.h"

namespace {
coParkWorld* g_installed = nullptr;
}

coParkWorld& coGetParkWorld() {
    static coParkWorld empty;
    return g_installed ? *g_installed : empty;
}

void coSetParkWorld(coParkWorld* world) {
    g_installed = world;
}
