#include "Engine/Core/Env/dbgLog.h"

#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envPackageCount.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

envPackageCount g_count("dbg");
dbgLogSink g_sink;
// "debug.log" beside the program, worked out at the log's start; the log itself goes to stderr, not there.
std::string g_logPath;

void WriteToStderr(const std::string& line) {
    // The line ends in CR LF as the log defines it; a terminal wants only the LF.
    std::string text = line;
    if (text.size() >= 2 && text[text.size() - 2] == '\r')
        text.erase(text.size() - 2, 1);
    std::fputs(text.c_str(), stderr);
}

std::string ProgramFolderFile(const char* name) {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return name;
    std::string result(path, static_cast<size_t>(n));
    const auto slash = result.rfind('/');
    return slash == std::string::npos ? std::string(name) : result.substr(0, slash + 1) + name;
}

void WriteBanner(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char time[16], date[16], line[128];
    std::strftime(time, sizeof(time), "%H:%M:%S", &local);
    std::strftime(date, sizeof(date), "%m/%d/%y", &local);
    std::snprintf(line, sizeof(line), format, time, date);
    dbgLogLine(line);
}

} // namespace

void dbgInit() {
    if (g_count.IsFirstStart()) {
        envInit();
        g_logPath = ProgramFolderFile("debug.log");
        WriteBanner("Kestrune base debug log initialized at %s, %s");
    }
    g_count.CountUp();
}

void dbgShutdown() {
    if (g_count.CountDown()) {
        WriteBanner("Kestrune base debug log terminating at %s, %s");
        envShutdown();
    }
}

u32 dbgGetInitCount() { return g_count.GetCount(); }

void dbgWarning(const char* file, u32 line, const char* format, ...) {
    char message[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof(message), format, args);
    va_end(args);
    std::string text = std::string(file ? file : "") + "(" + std::to_string(line) + "): **Warning** " + message;
    dbgLogLine(text.c_str());
}

void dbgLogLine(const char* text) {
    const std::string line = std::string(text ? text : "") + "\r\n";
    if (g_sink)
        g_sink(line);
    else
        WriteToStderr(line);
}

void dbgSetLogSink(dbgLogSink sink) {
    g_sink = std::move(sink);
}
