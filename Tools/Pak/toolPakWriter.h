#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <string_view>
#include <vector>

// One file of a pak: its name in the archive ("/" between folders) and its bytes.
struct toolPakEntry {
    std::string name;
    std::string data;
};

// A ZIP archive of stored entries in the order given: each local header with its data, then the central
// directory and its end record, no comment, every entry dated 1980-01-01. More than 65535 entries, a
// name longer than 65535 bytes or an archive of 4 GiB or more is refused with std::length_error.
std::string toolBuildPak(const std::vector<toolPakEntry>& entries);

// Every file under the folder, named by its path relative to it, sorted by name.
std::vector<toolPakEntry> toolCollectPakEntries(const std::string& folder);

// Writes the archive at the path, replacing any file there only once the new one is complete.
void toolWritePak(const std::string& path, const std::vector<toolPakEntry>& entries);
// Writes the bytes at the path the same way.
void toolWriteFile(const std::string& path, std::string_view bytes);
