#include "Source/Modes/coCareerPalettes.h"

namespace {
coCareerPalettes* g_palettes = nullptr;
} // namespace

coCareerPalettes& coGetCareerPalettes() {
    static coCareerPalettes standIn;
    return g_palettes != nullptr ? *g_palettes : standIn;
}

void coSetCareerPalettes(coCareerPalettes* palettes) {
    g_palettes = palettes;
}
