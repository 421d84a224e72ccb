// libFuzzer target: arbitrary bytes as the load menu's "LoadCach.bin". Reading never throws, and what it
// read, written back and read again, is the same coasters under the same names. Seeds: coGameFuzzSeeds.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/Settings/coPaths.h"

#include "Fuzz/fuzzInputFile.h"

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;

bool SameCoasters(const coLoadCacheMap& a, const coLoadCacheMap& b) {
    if (a.size() != b.size())
        return false;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j)
        if (!(i->first == j->first) || !(i->second.name == j->second.name) ||
            i->second.finished != j->second.finished || i->second.loadable != j->second.loadable)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_input = std::make_unique<fuzzInputFile>("LoadCach.bin");
    fsLocator folder;
    fsLocatorFromNativePath(g_input->GetFolder().c_str(), folder);
    fsSetRootDirectory(coRootSaves, folder);
    dbgSetLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    coLoadCacheMap read;
    coReadLoadCache(read);
    for (auto& [file, entry] : read)
        entry.seen = true;
    coWriteLoadCache(read);
    coLoadCacheMap again;
    coReadLoadCache(again);
    if (!SameCoasters(read, again))
        std::abort();
    return 0;
}
