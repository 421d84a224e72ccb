#include "Source/Settings/coGuiSoundCues.h"

namespace {
coGuiSoundCues g_silentCues;
coGuiSoundCues* g_cues = &g_silentCues;
} // namespace

void coSetGuiSoundCues(coGuiSoundCues* cues) {
    g_cues = cues ? cues : &g_silentCues;
}

coGuiSoundCues& coGetGuiSoundCues() {
    return *g_cues;
}
