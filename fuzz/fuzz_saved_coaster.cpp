// libFuzzer target: the saved-coaster loader on arbitrary bytes. Every input must end in the loader's
// exception or in a loaded coaster; anything else (another exception, a crash, a sanitizer report, a
// leak) is a finding.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Track/coSavedCoaster.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
std::string g_path;
fsLocator g_locator;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string folder = (std::filesystem::temp_directory_path() / "lvfuzz-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        std::abort();
    g_path = folder + "/input.csa";
    fsLocatorFromNativePath(g_path.c_str(), g_locator);
    dbgSetLogSink([](const std::string&) {}); // the warnings of bad names and counts are expected
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(g_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        coLoadCoasterFile(g_locator);
    } catch (const envExceptionX&) {
        // The loader's answer to a bad file.
    }
    return 0;
}
