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
    bool Holds(const std::string& text) const {
        for (const std::string& line : lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    std::vector<std::string> lines;
};
