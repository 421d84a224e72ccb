#include "Source/Modes/coEditorHost.h"

#include "Source/Settings/coSeam.h"
#include "Source/Sound/coSoundEffects.h"

namespace {
coEditorHost g_default;
constinit coSeam<coEditorHost> g_installed(g_default);
} // namespace

void coEditorHost::PlaySound(int slot) {
    coPlaySoundEffect(slot);
}

coEditorHost& coGetEditorHost() {
    return g_installed.Get();
}

void coSetEditorHost(coEditorHost* host) {
    g_installed.Set(host);
}
