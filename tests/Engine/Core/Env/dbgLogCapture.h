#pragma once
#include "Engine/Core/Env/dbgLog.h"

#include <string>
#include <vector>

// Collects the debug log's lines while it lives; the log goes back to stderr afterwards.
class dbgLogCapture {
  public:
    dbgLogCapture() {
        dbgSetLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~dbgLogCapture() { dbgSetLogSink({}); }
    dbgLogCapture(const dbgLogCapture&) = delete;
    dbgLogCapture& operator=(const dbgLogCapture&) = delete;

    // Whether some line holds the text.
    bool Holds(const std::string& text) const { return Count(text) > 0; }
    // How many lines hold the text.
    size_t Count(const std::string& text) const {
        size_t count = 0;
        for (const std::string& line : lines)
            count += line.find(text) != std::string::npos ? 1 : 0;
        return count;
    }

    std::vector<std::string> lines;
};
