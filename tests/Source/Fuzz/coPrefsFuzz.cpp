// libFuzzer target: arbitrary bytes as "prefs.bin". Loading never fails on a bad file (it is set aside and
// what could be read is kept and saved), and the file it leaves loads again to the same settings without
// being set aside. Seeds: coGameFuzzSeeds.
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"

#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

std::string g_setAside; // where a damaged file goes

// Every saved setting, floats by their bits so that a NaN equals itself.
std::vector<u32> Settings() {
    std::vector<u32> values;
    for (int i = 0; i < coPrefs::kBoolCount; ++i)
        values.push_back(coPrefs::GetBool(i));
    for (int i = 0; i < coPrefs::kIntCount; ++i)
        values.push_back(static_cast<u32>(coPrefs::GetInt(i)));
    for (int i = 0; i < coPrefs::kFloatCount; ++i) {
        const float value = coPrefs::GetFloat(i);
        u32 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        values.push_back(bits);
    }
    values.push_back(coPrefs::GetPath(coPrefBuilderOwnTrack).GetComponentCount());
    return values;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_setAside = fuzzLoader::Start("prefs.bin", coRootSaves).GetPath() + ".bad";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::filesystem::remove(g_setAside);
    fuzzLoader::Write(data, size);
    coPrefs::Load();
    const std::vector<u32> loaded = Settings();
    std::filesystem::remove(g_setAside);
    coPrefs::Load();
    if (Settings() != loaded || std::filesystem::exists(g_setAside))
        std::abort();
    return 0;
}
