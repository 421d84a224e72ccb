#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// One registry key at a time, in the platform's key-value store. Results are Win32 error numbers and
// nothing throws: 0 success, 2 not found, 6 no key open, 234 a buffer too small for the value.

// Opens the key named part A, a backslash and part B under a hive and keeps it as the open key, closing
// the key that was open. Hives: 0 classes root, 1 current user, 2 local machine, 3 users, 4 current
// config, 5 dynamic data; any other number is taken as a predefined key handle itself.
u32 appRegistryOpen(i32 hive, const std::string& keyPartA, const std::string& keyPartB);
// Reads the value into buffer, whose size in bytes (text and terminator) is given and receives the size
// written or needed. A value that does not exist, asked for with a non-empty default, is created with the
// default, which is then read back as the value: the result is that of writing and reading it.
u32 appRegistryReadValue(char* buffer, const std::string& valueName, u32& size,
                         const std::string& defaultText);
// appRegistryReadValue into a buffer of size bytes; on success out holds the text.
u32 appRegistryReadString(std::string& out, const std::string& valueName, u32& size,
                          const std::string& defaultText);
// A folder path value (up to 259 bytes) as a locator, one component per part of the path.
u32 appRegistryReadPath(fsLocator& out, const std::string& valueName);
u32 appRegistryWriteString(const std::string& text, const std::string& valueName);
// Closes the open key; 0 when none is open.
u32 appRegistryClose();

inline bool appRegistryIsSuccess(u32 result) {
    return result == 0;
}
inline bool appRegistryIsValid(u32 value) {
    return value != 0;
}
