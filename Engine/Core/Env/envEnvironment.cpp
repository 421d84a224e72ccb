#include "Engine/Core/Env/envEnvironment.h"

#include "Engine/Core/Env/envPackageCount.h"
#include "Engine/Core/Env/envUtf.h"

namespace {

constexpr u32 kOSKindUnknown = 7;
constexpr u32 kOSKindNT6 = 6;
constexpr u32 kAnsiBufferSize = 260;

envPackageCount g_count("env");
u32 g_osKind = kOSKindUnknown;
envErrorReportHook g_reportHook = nullptr;

} // namespace

u32 envGetOSKind() {
    return g_osKind;
}

void envInit() {
    // Linux stands in for the NT 6 family: every text-taking call takes its wide branch.
    if (g_count.IsFirstStart())
        g_osKind = kOSKindNT6;
    g_count.CountUp();
}

void envShutdown() {
    g_count.CountDown();
}

u32 envGetInitCount() {
    return g_count.GetCount();
}

void envWideToAnsi(std::string& out, const char16_t* text, u32 count) {
    out.clear();
    const std::u16string_view units(text, count);
    for (size_t at = 0; at < units.size();) {
        const u32 code = envDecodeUtf16(units, at);
        if (code >= envNativeByteUnit + 0x80u && code <= envNativeByteUnit + 0xFFu)
            out.push_back(static_cast<char>(code - envNativeByteUnit));
        else
            envAppendUtf8(out, code);
    }
    if (out.size() >= kAnsiBufferSize)
        out.clear();
}

void envSetErrorReportHook(envErrorReportHook hook) {
    g_reportHook = hook;
}

u32 envReportError(u32 type, u32 package, u32 number, const char* extra) {
    return g_reportHook ? g_reportHook(type, package, number, extra) : 0;
}
