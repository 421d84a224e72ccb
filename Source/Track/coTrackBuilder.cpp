#include "Source/Track/coTrackBuilder.h"

namespace {
coTrackBuilder* g_installed = nullptr;
}

coTrackBuilder& coGetTrackBuilder() {
    static coTrackBuilder idle;
    return g_installed ? *g_installed : idle;
}

void coSetTrackBuilder(coTrackBuilder* builder) {
    g_installed = builder;
}
