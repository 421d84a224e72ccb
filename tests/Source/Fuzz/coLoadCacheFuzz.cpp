// libFuzzer target: arbitrary bytes as the load menu's "LoadCach.bin". Reading never throws, and what it
// read, written back and read again, is the same coasters under the same names. Seeds: coGameFuzzSeeds.
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/Settings/coPaths.h"

#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>

namespace {

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
    fuzzLoader::Start("LoadCach.bin", coRootSaves);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzLoader::Write(data, size);
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
