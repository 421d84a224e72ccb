// libFuzzer target: arbitrary bytes as a prop definition (".prd"), through the full read and the quick
// scan of its track flag. Each ends in the loaders' exceptions or reads the file; the full read makes no
// more entry events than the file has chunk headers for. Seeds: coGameFuzzSeeds.
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
        const coPropDefinition definition = coLoadPropDefinition(g_locator);
        if (definition.entries.size() * 10 > size)
            std::abort();
    } catch (const envExceptionX&) {
        // The loaders' answer to a bad file.
    }
    bool trackProp = false;
    try {
        coReadPropTrackFlag(g_locator, trackProp);
    } catch (const envExceptionX&) {
    }
    return 0;
}
