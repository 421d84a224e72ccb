// libFuzzer target: arbitrary bytes as a prop definition (".prd"). The full read ends in the loaders'
// exceptions or in a definition, and a file the full read takes, the quick scan of its track flag takes
// too, but for a top chunk above version 1, which only the scan refuses. Seeds: coGameFuzzSeeds.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/World/coPropDefinition.h"

#include "Fuzz/fuzzInputFile.h"

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;
fsLocator g_locator;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_input = std::make_unique<fuzzInputFile>("fountain.prd");
    fsLocatorFromNativePath(g_input->GetPath().c_str(), g_locator);
    dbgSetLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    try {
        coLoadPropDefinition(g_locator);
    } catch (const envExceptionX&) {
        return 0; // the loaders' answer to a bad file
    }
    bool trackProp = false;
    try {
        coReadPropTrackFlag(g_locator, trackProp);
    } catch (const coInvalidPropFileX&) {
    } catch (const envExceptionX&) {
        std::abort();
    }
    return 0;
}
