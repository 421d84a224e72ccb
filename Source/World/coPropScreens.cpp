#include "Source/World/coPropScreens.h"

namespace {

coPropScreens g_nothingShown;
coPropScreens* g_screens = &g_nothingShown;

} // namespace

coPropScreens& coGetPropScreens() {
    return *g_screens;
}

void coSetPropScreens(coPropScreens* screens) {
    g_screens = screens ? screens : &g_nothingShown;
}
