#include "Source/Modes/coCareerPalettes.h"

#include "Source/Settings/coSeam.h"

namespace {
coCareerPalettes g_standIn;
constinit coSeam<coCareerPalettes> g_palettes(g_standIn);
} // namespace

coCareerPalettes& coGetCareerPalettes() {
    return g_palettes.Get();
}

void coSetCareerPalettes(coCareerPalettes* palettes) {
    g_palettes.Set(palettes);
}
