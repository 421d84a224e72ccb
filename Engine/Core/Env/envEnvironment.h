#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// OS kind: 7 until the env package has started, then 6 (the NT 6 family: wide text everywhere).
u32 envGetOSKind();
void envInit();
void envShutdown();
u32 envGetInitCount();

// A native name's byte that is not UTF-8 (0x80 to 0xFF) is held as this unit plus the byte.
inline constexpr char16_t envNativeByteUnit = 0xDC00;

// Encodes UTF-16 units as UTF-8, the native path encoding; a lone unit envNativeByteUnit + 0x80 to 0xFF
// is written as its byte. Text longer than 259 bytes gives "".
void envWideToAnsi(std::string& out, const char16_t* text, u32 count);

// The hook through which the low-level packages ask the user (display type, package, number, extra).
using envErrorReportHook = u32 (*)(u32 type, u32 package, u32 number, const char* extra);
void envSetErrorReportHook(envErrorReportHook hook);
// The hook's answer, or 0 when no hook is installed.
u32 envReportError(u32 type, u32 package, u32 number, const char* extra);
