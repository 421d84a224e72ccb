#include "Engine/App/App/appIni.h"

#include "Engine/Platform/Os/plIniReader.h"
#include "Engine/Platform/plServices.h"

namespace {
// What the lookup gives for a missing value; a value of exactly this text reads as missing too.
constexpr const char* kFailureText = "***FIND STRING FAILURE***";
constexpr u32 kBufferSize = 1024;
} // namespace

bool appIniReadString(const std::string& file, const std::string& section, const std::string& key,
                      std::string& out) {
    plGetIniReader().GetPrivateProfileString(section, key, kFailureText, out, kBufferSize, file);
    return out != kFailureText;
}
