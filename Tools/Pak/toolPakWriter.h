#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class chBinWriter;

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
// Writes a chunk file of the game's binary kind at the path the same way: its header, then what the body
// writes, every value least significant byte first as the readers take it.
void toolWriteChunkFile(const std::string& path, const std::function<void(chBinWriter&)>& body);
