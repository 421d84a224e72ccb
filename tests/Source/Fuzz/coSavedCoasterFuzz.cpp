// libFuzzer target: arbitrary bytes as a saved coaster file through the loader. Every input must end in
// the loader's exception or in a loaded coaster; anything else (another exception, a crash, a sanitizer
// report, a leak) is a finding. The seeds are the reference circuits, written by coSavedCoasterFuzzSeeds.
// scripts/fuzz builds and runs it.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// One file in a folder of its own, written with each input and removed at exit.
struct Input {
    Input() {
        folder = (std::filesystem::temp_directory_path() / "coSavedCoasterFuzz-XXXXXX").string();
        if (!mkdtemp(folder.data()))
            std::abort();
        path = folder + "/input.csa";
        fsLocatorFromNativePath(path.c_str(), locator);
    }
    ~Input() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string folder;
    std::string path;
    fsLocator locator;
};

std::unique_ptr<Input> g_input;

// No coaster type folders here: the definitions stay as they are, so that inputs reach the track.
struct NoDefinitions : coSavedCoasterServices {
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
} g_services;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_input = std::make_unique<Input>();
    coSetSavedCoasterServices(&g_services);
    dbgSetLogSink([](const std::string&) {}); // the warnings of bad names and counts are expected
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(g_input->path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        coLoadCoasterFile(g_input->locator);
    } catch (const envExceptionX&) {
        // The loader's answer to a bad file.
    }
    return 0;
}
