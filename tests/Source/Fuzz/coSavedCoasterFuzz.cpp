// libFuzzer target: arbitrary bytes as a saved coaster file through the loader. Every input must end in
// the loader's exception or in a loaded coaster; anything else (another exception, a crash, a sanitizer
// report, a leak) is a finding. The seeds are the reference circuits, written by coSavedCoasterFuzzSeeds.
// scripts/fuzz builds and runs it.
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"

#include "Fuzz/fuzzLoaderInput.h"

namespace {

// No coaster type folders here: the definitions stay as they are, so that inputs reach the track.
struct NoDefinitions : coSavedCoasterServices {
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
} g_services;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("input.csa");
    coSetSavedCoasterServices(&g_services);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    try {
        coLoadCoasterFile(file);
    } catch (const envExceptionX&) {
        // The loader's answer to a bad file.
    }
    return 0;
}
