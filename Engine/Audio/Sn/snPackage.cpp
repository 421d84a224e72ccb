#include "Engine/Audio/Sn/snPackage.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envPackageCount.h"

namespace {
envPackageCount g_count("sn");

char16_t Lower(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}
} // namespace

void snInit() {
    if (g_count.IsFirstStart()) {
        dbgInit();
        snAttenuation(0);
        gfErrorHandler::RegisterPackage(snErrorPackage, "snErrors.tsf");
    }
    g_count.CountUp();
}

void snShutdown() {
    if (g_count.CountDown())
        dbgShutdown();
}

u32 snGetInitCount() {
    return g_count.GetCount();
}

bool snIsWavFile(const fsLocator& file) {
    if (file.GetComponentCount() == 0)
        return false;
    const envString& name = file.GetLastComponent();
    const u32 length = name.GetLength();
    return length >= 5 && name[length - 4] == u'.' && Lower(name[length - 3]) == u'w' &&
           Lower(name[length - 2]) == u'a' && Lower(name[length - 1]) == u'v';
}
