#include "Source/Modes/coEditorHost.h"

#include "Source/Sound/coSoundEffects.h"

namespace {
coEditorHost g_default;
coEditorHost* g_installed = nullptr;
} // namespace

void coEditorHost::PlaySound(int slot) {
    coPlaySoundEffect(slot);
}

coEditorHost& coGetEditorHost() {
    return g_installed ? *g_installed : g_default;
}

void coSetEditorHost(coEditorHost* host) {
    g_installed = host;
}
