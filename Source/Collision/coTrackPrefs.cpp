#include "Source/Collision/coTrackPrefs.h"

namespace {
const coTrackPrefs* g_installed = nullptr;
}

const coTrackPrefs& coGetTrackPrefs() {
    static const coTrackPrefs defaults;
    return g_installed ? *g_installed : defaults;
}

void coSetTrackPrefs(const coTrackPrefs* prefs) {
    g_installed = prefs;
}
