#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <functional>
#include <string>

// The debug log: single lines (ending in CR LF) sent to the log sink, stderr unless replaced.
using dbgLogSink = std::function<void(const std::string& line)>;

void dbgInit();
void dbgShutdown();
u32 dbgGetInitCount();

// Writes "<file>(<line>): **Warning** <message>"; the formatted message is cut at 1023 characters.
void dbgWarning(const char* file, u32 line, const char* format, ...) __attribute__((format(printf, 3, 4)));
void dbgLogLine(const char* text);

// Replaces the sink (tests capture the log); an empty function restores stderr.
void dbgSetLogSink(dbgLogSink sink);

#define DBG_WARNING(...) dbgWarning(__FILE__, __LINE__, __VA_ARGS__)
