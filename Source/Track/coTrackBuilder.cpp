#include "Source/Track/coTrackBuilder.h"

#include "Engine/Core/Ma/maConstants.h"

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

void coTrackBuilder::GetTrackBounds(coWorldBox& out) const {
    out = {maMaxFloat, -maMaxFloat, maMaxFloat, -maMaxFloat, maMaxFloat, -maMaxFloat};
}
