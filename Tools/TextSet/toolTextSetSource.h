#pragma once
#include "Engine/Core/Env/envString.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A fault in a content source, with its place: "<file>:<line>: <what>".
class toolSourceError : public std::runtime_error {
  public:
    toolSourceError(const std::string& file, u32 line, const std::string& what)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + what) {}
};

struct toolTextSetEntry {
    u32 id;
    envString text;
};

// Reads a text-set source: UTF-8, one "<id><TAB><text>" a line, "\n", "\t" and "\\" escapes in the
// text, lines starting with '#' and blank lines ignored. Duplicate ids, bad escapes, bad UTF-8 and
// texts too long for a text set are refused with the file and line.
std::vector<toolTextSetEntry> toolParseTextSetSource(std::string_view source, const std::string& fileName);

// Writes the entries as a new text set at the native path, replacing any file there only once the
// new one is complete.
void toolWriteTextSet(const std::string& path, u32 setNumber, const std::vector<toolTextSetEntry>& entries);
