#include "Source/World/coPropScreens.h"

#include "Source/Settings/coSeam.h"

namespace {

coPropScreens g_nothingShown;
constinit coSeam<coPropScreens> g_screens(g_nothingShown);

} // namespace

coPropScreens& coGetPropScreens() {
    return g_screens.Get();
}

void coSetPropScreens(coPropScreens* screens) {
    g_screens.Set(screens);
}
