#include "Source/Track/coTrackScene.h"

namespace {
coTrackScene* g_installed = nullptr;
}

coTrackScene& coGetTrackScene() {
    static coTrackScene none;
    return g_installed ? *g_installed : none;
}

void coSetTrackScene(coTrackScene* scene) {
    g_installed = scene;
}
