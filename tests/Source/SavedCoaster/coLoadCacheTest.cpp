#include "Source/SavedCoaster/coLoadCache.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Source/Settings/coPaths.h"

#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace {

class coLoadCacheTest : public ::testing::Test {
  protected:
    coLoadCacheTest() : services(definition) {
        fsResetRootTable();
        folder.MakeFolder("Saves/Coasters");
        folder.MakeFolder("Tracks/Steel");
        folder.MakeFolder("Environments/Mountain");
        fsAddRootDirectory(coRootSaves, folder.Locator("Saves"));
        fsAddRootDirectory(coRootTracks, folder.Locator("Tracks/Steel"));
        fsAddRootDirectory(coRootEnvironments, folder.Locator("Environments/Mountain"));
    }
    ~coLoadCacheTest() override { fsResetRootTable(); }

    // A coaster file holding only its setting.
    void WriteCoaster(const std::string& relative, const std::string& type = "Steel") {
        coCdatFields fields;
        fields.type = type;
        coByteBuilder b;
        b.Header();
        fields.Write(b, 4);
        folder.Write(relative, b.bytes);
    }
    std::string CacheBytes() const { return folder.Read("Saves/LoadCach.bin"); }
    void WriteCache(const std::string& bytes) const { folder.Write("Saves/LoadCach.bin", bytes); }

    static coLoadCacheEntry OvalEntry() {
        coLoadCacheEntry entry;
        entry.name = "Oval";
        entry.dockText = "Ironvale";
        entry.environmentText = "Mountain";
        entry.trackTypeText = "Steel";
        entry.fileTime = 1700000000.5;
        entry.finished = entry.loadable = entry.seen = true;
        return entry;
    }
    // An "INFO" chunk built by hand.
    static std::string Info(u32 directory, const std::u16string& name, u16 version = 1,
                            u32 nameLength = 0xFFFFFFFF) {
        coByteBuilder b;
        b.Begin("INFO", version);
        b.U32(directory);
        b.U32(nameLength == 0xFFFFFFFF ? static_cast<u32>(name.size()) : nameLength);
        b.Raw(std::string(reinterpret_cast<const char*>(name.data()), name.size() * 2));
        for (const char16_t* text : {u"Ironvale", u"Mountain", u"Steel"})
            b.Units(text);
        const f64 time = 1700000000.5;
        b.Raw(std::string(reinterpret_cast<const char*>(&time), 8));
        b.U8(1);
        b.U8(1);
        b.End();
        return b.bytes;
    }
    fsLocator Saved(const std::string& name) const { return folder.Locator("Saves/" + name); }

    fsTestFolder folder;
    coFileTestDefinition definition;
    coRecordingCoasterServices services{definition};
};

TEST_F(coLoadCacheTest, TheFileHoldsOneInfoChunkPerSeenEntryAndReadsBack) {
    coLoadCacheMap map;
    map[Saved("Oval.csa")] = OvalEntry();
    coLoadCacheEntry unseen = OvalEntry();
    unseen.seen = false;
    map[Saved("Gone.csa")] = unseen;
    coWriteLoadCache(map);
    const std::string bytes = CacheBytes();
    ASSERT_EQ(bytes.size(), 90u);
    EXPECT_EQ(bytes, Info(0, u"Oval"));
    EXPECT_EQ(bytes.substr(80), std::string("\x00\x00\x20\x40\xFC\x54\xD9\x41\x01\x01", 10));

    coLoadCacheMap read;
    coReadLoadCache(read);
    ASSERT_EQ(read.size(), 1u);
    const coLoadCacheEntry& entry = read.begin()->second;
    EXPECT_EQ(std::tuple(read.begin()->first, entry.file, entry.trackTypeText, entry.dockText),
              std::tuple(Saved("Oval.csa"), Saved("Oval.csa"), envString("Steel"), envString("Ironvale")));
    EXPECT_EQ(std::tuple(entry.fileTime, entry.finished, entry.loadable, entry.seen),
              std::tuple(1700000000.5, true, true, false));

    // Only unseen entries: an empty file; an empty map: no file, and no cache file leaves the map alone.
    map.erase(Saved("Oval.csa"));
    coWriteLoadCache(map);
    EXPECT_EQ(CacheBytes(), "");
    coWriteLoadCache({});
    EXPECT_FALSE(fsFileExists(Saved("LoadCach.bin")));
    coReadLoadCache(read);
    EXPECT_EQ(read.size(), 1u);
}

TEST_F(coLoadCacheTest, DamagedCachesReadAsEmptyAndBadEntriesAreSkipped) {
    const std::string good = Info(0, u"Oval");
    const std::string other = Info(0, u"Loop");
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"two chunks", good + other, {"Loop", "Oval"}},
        {"a huge name length", Info(0, u"Oval", 1, 0x7FFFFFFF) + other, {}},
        {"a name length past the chunk", Info(0, u"Oval", 1, 40) + other, {}},
        {"a second chunk of version 0", good + Info(0, u"Loop", 0), {}},
        {"a directory the root does not have", Info(5, u"Oval") + other, {"Loop"}},
        {"another chunk id", coChunkBytes("JUNK", "abc", 1) + good, {"Oval"}},
        {"the same coaster twice", good + Info(0, u"Oval", 1), {"Oval"}},
    };
    for (const Case& c : cases) {
        WriteCache(c.bytes);
        coLoadCacheMap map;
        map[Saved("Old.csa")] = OvalEntry();
        coReadLoadCache(map);
        std::vector<std::string> names;
        for (const auto& [file, entry] : map)
            names.push_back(envStringToNarrow(entry.name));
        EXPECT_EQ(names, c.names) << c.what;
    }
    // Cut anywhere inside the second chunk: the whole cache goes.
    for (size_t cut = good.size() + 1; cut < good.size() + other.size(); ++cut) {
        WriteCache((good + other).substr(0, cut));
        coLoadCacheMap map;
        coReadLoadCache(map);
        EXPECT_TRUE(map.empty()) << cut;
    }
}

TEST_F(coLoadCacheTest, TheScanListsCoastersAndOpensOnlyChangedOnes) {
    for (const char* name : {"Oval.csa", "Coasters/Loop.csa", "A.CSA", "x.csa.bak", "csa", ".csa"})
        WriteCoaster(std::string("Saves/") + name);
    WriteCoaster("Elsewhere.csa");
    WriteCoaster("Saves/Wood.csa", "Wood");
    coLoadCacheMap map;
    for (const char* name :
         {"Oval.csa", "Coasters/Loop.csa", "A.CSA", "x.csa.bak", "csa", ".csa", "Wood.csa"})
        coScanLoadCacheFile(Saved(name), map);
    coScanLoadCacheFile(folder.Locator("Elsewhere.csa"), map);
    std::vector<std::string> names;
    for (const auto& [file, entry] : map) {
        names.push_back(envStringToNarrow(entry.name));
        EXPECT_EQ(std::tuple(entry.seen, entry.directoryIndex, entry.loadable),
                  std::tuple(true, 0u, entry.name != envString("Wood")))
            << names.back();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"A", "Loop", "Oval", "Wood"}));
    // A file that is no coaster gets no entry, and a warning names it.
    dbgLogCapture log;
    folder.Write("Saves/Junk.csa", std::string(100, '\x5a'));
    coScanLoadCacheFile(Saved("Junk.csa"), map);
    EXPECT_EQ(std::tuple(map.count(Saved("Junk.csa")), log.Holds("Junk.csa")), std::tuple(0u, true));
    EXPECT_EQ(map[Saved("Oval.csa")].environmentText, envString("<Mountain>"));

    // An unchanged file is not opened again (its damage goes unseen); a changed one and one that was not
    // loadable are read again.
    const auto time = std::filesystem::last_write_time(folder.Path("Saves/Oval.csa"));
    folder.Write("Saves/Oval.csa", "damaged");
    std::filesystem::last_write_time(folder.Path("Saves/Oval.csa"), time);
    map[Saved("A.CSA")].fileTime -= 10.0;
    map[Saved("A.CSA")].trackTypeText = "stale";
    map[Saved("Wood.csa")].trackTypeText = "stale";
    for (auto& [file, entry] : map)
        entry.seen = false;
    for (const char* name : {"Oval.csa", "A.CSA", "Wood.csa"})
        coScanLoadCacheFile(Saved(name), map);
    EXPECT_EQ(std::tuple(map[Saved("Oval.csa")].loadable, map[Saved("A.CSA")].trackTypeText,
                         map[Saved("Wood.csa")].trackTypeText, map[Saved("Coasters/Loop.csa")].seen),
              std::tuple(true, envString("<Steel>"), envString("<Wood>"), false));

    // A write that cannot complete keeps the old cache.
    coWriteLoadCache(map);
    const std::string written = CacheBytes();
    map.erase(Saved("A.CSA"));
    {
        const fsWriteCalls failing(EIO);
        EXPECT_ANY_THROW(coWriteLoadCache(map));
    }
    EXPECT_EQ(CacheBytes(), written);
}

} // namespace
