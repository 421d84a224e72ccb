#include "Engine/Core/Env/envEnvironment.h"

#include "Engine/Core/Env/envPackageCount.h"

namespace {

constexpr u32 kOSKindUnknown = 7;
constexpr u32 kOSKindNT6 = 6;
constexpr u32 kAnsiBufferSize = 260;

envPackageCount g_count("env");
u32 g_osKind = kOSKindUnknown;
envErrorReportHook g_reportHook = nullptr;

void AppendUtf8(std::string& out, u32 c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

u32 envGetOSKind() { return g_osKind; }

void envInit() {
    // Linux stands in for the NT 6 family: every text-taking call takes its wide branch.
    if (g_count.IsFirstStart())
        g_osKind = kOSKindNT6;
    g_count.CountUp();
}

void envShutdown() { g_count.CountDown(); }

u32 envGetInitCount() { return g_count.GetCount(); }

void envWideToAnsi(std::string& out, const char16_t* text, u32 count) {
    out.clear();
    for (u32 i = 0; i < count; ++i) {
        u32 c = text[i];
        const bool high = c >= 0xD800 && c < 0xDC00;
        if (high && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        AppendUtf8(out, c);
    }
    if (out.size() >= kAnsiBufferSize)
        out.clear();
}

void envSetErrorReportHook(envErrorReportHook hook) { g_reportHook = hook; }

u32 envReportError(u32 type, u32 package, u32 number, const char* extra) {
    return g_reportHook ? g_reportHook(type, package, number, extra) : 0;
}
