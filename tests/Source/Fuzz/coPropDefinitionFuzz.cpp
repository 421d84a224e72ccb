// libFuzzer target: arbitrary bytes as a prop definition (".prd"), through the full read and the quick
// scan of its track flag. Each ends in the loaders' exceptions or reads the file; the full read makes no
// more entry events than the file has chunk headers for. Seeds: coGameFuzzSeeds.
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/World/coPropDefinition.h"

#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("fountain.prd");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    try {
        const coPropDefinition definition = coLoadPropDefinition(file);
        if (definition.entries.size() * 10 > size)
            std::abort();
    } catch (const envExceptionX&) {
        // The loaders' answer to a bad file.
    }
    bool trackProp = false;
    try {
        coReadPropTrackFlag(file, trackProp);
    } catch (const envExceptionX&) {
    }
    return 0;
}
