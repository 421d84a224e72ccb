#include "Engine/Platform/Gl/plGlContextUse.h"

namespace {
u32 g_foreignUses = 0;
}

void plGlCountForeignUse() {
    ++g_foreignUses;
}

u32 plGlGetForeignUseCount() {
    return g_foreignUses;
}
