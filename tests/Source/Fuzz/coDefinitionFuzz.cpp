// libFuzzer target: arbitrary bytes as a coaster type's "Coaster.def", "Track.def" and "Support.def",
// each read on the fake device by its loader. Each ends in the loaders' exceptions or loads, and what a
// load made is freed after it. Seeds: the shipped definitions (scripts/fuzz-seeds).
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"

#include "Fuzz/fuzzFakeDevice.h"
#include "Fuzz/fuzzInputFile.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;

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
    g_input = std::make_unique<fuzzInputFile>("Steel/Definition.def");
    std::filesystem::create_directories(g_input->GetFolder() + "/Steel");
    fsLocator folder;
    fsLocatorFromNativePath(g_input->GetFolder().c_str(), folder);
    fsSetRootDirectory(coRootTracks, folder);
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    dbgSetLogSink([](const std::string&) {});
    fuzzStartFakeDevice();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    Try([] { coCoasterDefinitionStore().Load("Definition.def"); });
    Try([] { coGetTrackDefinitionSource().LoadTrackDefinition("Definition.def"); });
    Try([] { coGetTrackDefinitionSource().LoadSupportDefinition("Definition.def"); });
    return 0;
}
