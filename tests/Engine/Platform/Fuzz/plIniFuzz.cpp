// libFuzzer target: arbitrary bytes as an INI file, read by the INI reader and the key-value store for
// every section and every name that the text holds. A value set in each section must then be found
// there, also after the text is written out and parsed again. Anything else but a normal return is a
// finding. Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz builds and runs it.
#include "Engine/Platform/Os/plIniFile.h"
#include "Engine/Platform/Os/plIniReader.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Fuzz/fuzzInputFile.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// The store reads the current user's hive from this file; the INI reader reads the same.
constexpr const char* kFile = "HKEY_CURRENT_USER.ini";
constexpr size_t kMaxLookups = 8;
const std::string kValue = " \"set\" by the fuzzer ";

std::unique_ptr<fuzzInputFile> g_input;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// What stands before "=" on the first lines that have one.
std::vector<std::string> Names(const std::string& text) {
    std::vector<std::string> names;
    for (size_t start = 0; start < text.size() && names.size() < kMaxLookups;) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const size_t equals = text.find('=', start);
        if (equals < end)
            names.push_back(plTrimBlanks(text.substr(start, equals - start)));
        start = end + 1;
    }
    return names;
}

void Look(const std::string& section, const std::vector<std::string>& names) {
    const plIniReader reader(g_input->GetFolder());
    plKeyValueStore store(g_input->GetFolder());
    plKeyHandle key = 0;
    store.OpenKey(plHive::CurrentUser, section, key);
    std::string out;
    for (size_t i = 0; i < names.size(); ++i) {
        const u32 size = i % 3 == 0 ? 1024 : static_cast<u32>(i % 3 - 1); // buffers of 1024, 0 and 1 bytes
        Check(reader.GetPrivateProfileString(section, names[i], "default", out, size, kFile) == out.size() &&
              out.size() < std::max(size, 1u));
        char buffer[64];
        u32 bytes = sizeof(buffer);
        store.QueryValue(key, names[i], buffer, bytes);
        store.QueryValue(key, names[i], nullptr, bytes);
    }
    store.CloseKey(key);
}

void SetAndFind(plIniFile ini, const std::string& section) {
    ini.Set(section, "fuzz", kValue);
    std::string value;
    Check(ini.Find(section, "fuzz", value) && value == kValue);
    Check(plIniFile(ini.GetText()).Find(section, "fuzz", value) && value == kValue);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_input = std::make_unique<fuzzInputFile>(kFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const plIniFile ini(text);
    const std::vector<std::string> names = Names(text);
    std::vector<std::string> sections = ini.GetSections();
    if (sections.size() > kMaxLookups)
        sections.resize(kMaxLookups);
    for (const std::string& section : sections)
        Check(ini.HasSection(section));
    sections.push_back("not in the file");
    for (const std::string& section : sections) {
        Look(section, names);
        SetAndFind(ini, section);
    }
    return 0;
}
