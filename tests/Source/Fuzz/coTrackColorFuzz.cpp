// libFuzzer target: arbitrary bytes as a "TrkColor.def". A load ends in the loaders' exceptions, keeping
// the schemes held before, or replaces them; saving what it read and loading that again gives as many
// schemes. Seeds: coGameFuzzSeeds.
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>

namespace {

fsLocator g_saved;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fuzzInputFile& input = fuzzLoader::Start("TrkColor.def");
    fsLocatorFromNativePath((input.GetFolder() + "/Saved.def").c_str(), g_saved);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    coTrackColorizer::MakeDefaultSchemes();
    const int before = coTrackColorizer::GetSchemeCount();
    try {
        loadColorSchemes(file);
    } catch (const envExceptionX&) {
        if (coTrackColorizer::GetSchemeCount() != before)
            std::abort();
        return 0;
    }
    const int read = coTrackColorizer::GetSchemeCount();
    if (read == 0)
        return 0;
    coTrackColorizer::ClearCurrent(); // each scheme written whole
    saveColorSchemes(g_saved);
    try {
        loadColorSchemes(g_saved);
    } catch (const envExceptionX&) {
        std::abort();
    }
    if (coTrackColorizer::GetSchemeCount() != read)
        std::abort();
    return 0;
}
