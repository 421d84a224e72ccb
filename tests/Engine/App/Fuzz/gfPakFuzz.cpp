// libFuzzer target: arbitrary bytes as a pak. It is opened, its entries listed, and every entry read
// whole through its entry stream and through gfFile (as the game reads paks, by the pak searcher), with
// seeks back into it. Anything but the engine's own exceptions, or an entry whose reads do not add up
// to its size, is a finding. Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz builds and runs it.
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr i32 kPakRoot = 3;

class OnePak : public gfPakSearcher::PakLocator {
  public:
    gfPakFile* Locate(i32 root, const fsLocator&, fsLocator&) override {
        return root == kPakRoot ? pak : nullptr;
    }
    gfPakFile* pak = nullptr;
};

OnePak g_searcher;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void ReadStream(const gfPakFile& pak, const fsLocator& name) {
    gfPakEntryStream entry(pak, name);
    char buffer[4096];
    u64 total = 0;
    for (u32 read; (read = entry.Read(buffer, sizeof(buffer))) > 0;)
        total += read;
    Check(total == entry.GetSize() && entry.Tell() == entry.GetSize());
    const u32 half = entry.GetSize() / 2;
    entry.Seek(static_cast<i32>(half), 0);
    Check(entry.Read(buffer, sizeof(buffer)) == std::min<u32>(sizeof(buffer), entry.GetSize() - half));
}

void ReadFile(const fsLocator& name) {
    fsLocator rooted = name;
    rooted.SetRoot(kPakRoot);
    gfFile file(rooted, 0, 2);
    Check(file.IsFromPak());
    const u32 size = file.GetSize();
    // Typed reads to the end; the last, short one takes what is left.
    for (u32 value; file.ReadValue(value);) {
    }
    Check(file.Tell() == size);
    file.Seek(static_cast<i32>(size / 3), 0);
    u16 value;
    Check(file.ReadValue(value) == (size - size / 3 >= 2));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("input.pak");
    gfPakSearcher::SetPakLocator(&g_searcher);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    try {
        gfPakFile pak(file);
        g_searcher.pak = &pak;
        for (const std::string& entryName : pak.GetEntryNames()) {
            fsLocator name;
            fsLocatorFromNativePath(entryName.c_str(), name);
            try {
                if (!pak.HasEntry(name))
                    continue; // a name that no locator spells (not UTF-8, or with empty components)
                ReadStream(pak, name);
                ReadFile(name);
            } catch (const envExceptionX&) {
                // An entry the pak cannot give: bad local header, data outside the file, compressed.
            }
        }
    } catch (const envExceptionX&) {
        // The loader's answer to a bad pak.
    }
    g_searcher.pak = nullptr;
    return 0;
}
