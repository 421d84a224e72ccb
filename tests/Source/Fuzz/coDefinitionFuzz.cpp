// libFuzzer target: arbitrary bytes as a coaster type's "Coaster.def", "Track.def" and "Support.def",
// each read on the fake device by its loader. Each ends in the loaders' exceptions or loads, and what a
// load made is freed after it. Seeds: the shipped definitions (scripts/fuzz-seeds).
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"

#include "Fuzz/fuzzFakeDevice.h"
#include "Fuzz/fuzzLoaderInput.h"

namespace {

template <class Load> void Try(Load load) {
    try {
        load();
    } catch (const envExceptionX&) {
        // The loaders' answer to a bad file.
    }
    coGetTrackDefinitionSource().Free();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("Steel/Definition.def", coRootTracks);
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    fuzzStartFakeDevice();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzLoader::Write(data, size);
    Try([] { coCoasterDefinitionStore().Load("Definition.def"); });
    Try([] { coGetTrackDefinitionSource().LoadTrackDefinition("Definition.def"); });
    Try([] { coGetTrackDefinitionSource().LoadSupportDefinition("Definition.def"); });
    return 0;
}
