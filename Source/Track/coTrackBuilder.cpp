#include "Source/Track/coTrackBuilder.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Settings/coSeam.h"

namespace {
coTrackBuilder g_idle;
constinit coSeam<coTrackBuilder> g_installed(g_idle);
} // namespace

coTrackBuilder& coGetTrackBuilder() {
    return g_installed.Get();
}

void coSetTrackBuilder(coTrackBuilder* builder) {
    g_installed.Set(builder);
}

void coTrackBuilder::GetTrackBounds(coWorldBox& out) const {
    out = {maMaxFloat, -maMaxFloat, maMaxFloat, -maMaxFloat, maMaxFloat, -maMaxFloat};
}
