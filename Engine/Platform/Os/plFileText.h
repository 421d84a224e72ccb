#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <cstddef>
#include <string>

// Whole small text files, for the settings stand-ins; results are Win32 error numbers (plErrors.h).

// The most a settings file may hold.
constexpr size_t plFileTextMaxBytes = 16 * 1024 * 1024;

// Opens a regular file for reading, never waiting (a pipe in its place would hold a plain open until a
// writer came): the descriptor, or -1 with errno set, ENODEV for a pipe, device or socket and EISDIR for
// a folder.
int plOpenRegularFile(const std::string& path);

// The file's bytes: 0, also for a missing file (empty text); 5 when it exists but cannot be read, is
// not a regular file or holds more than plFileTextMaxBytes.
u32 plReadFileText(const std::string& path, std::string& out);
// Replaces the file with text in one step (plAtomicFile), creating its folders.
// 0; 5 when the folder or file may not be written; 29 for any other failure.
u32 plReplaceFileText(const std::string& path, const std::string& text);
