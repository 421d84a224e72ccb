#pragma once
#include <string>

// Reads a value of an INI file (a relative name is taken from the program's folder) into out. False,
// with out set to "***FIND STRING FAILURE***", when the file, section or key is missing. Values are
// trimmed and unquoted and cut to 1023 bytes; sections and keys are found ignoring ASCII case.
bool appIniReadString(const std::string& file, const std::string& section, const std::string& key,
                      std::string& out);
