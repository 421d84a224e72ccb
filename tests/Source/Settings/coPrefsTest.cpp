#include "Source/Settings/coPrefs.h"

#include "Engine/App/Ch/chTestBytes.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Source/Settings/coPaths.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

namespace {

// The file's defaults, written out from the table of settings.
const std::vector<u8> kBools = {1, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0};
const std::vector<i32> kInts = {0, 16, 0};
const std::vector<float> kFloats = {1.0f,  1.0f, 1.0f, 0.5f,  0.5f,  0.5f,
                                    0.72f, 0.5f, 0.8f, 0.85f, 0.85f, 0.6f};

std::string Chunk(const char* id, u16 version, const std::string& body) {
    return chTestBytes().Chunk(id, static_cast<u32>(body.size()), version).Text(body).Str();
}

template <class T> std::string Counted(u16 count, const std::vector<T>& values) {
    chTestBytes bytes;
    bytes.U16(count);
    for (T value : values)
        bytes.Le(value);
    return bytes.Str();
}

std::string PathBody(u16 count, const std::vector<std::string>& components) {
    chTestBytes bytes;
    bytes.U16(count).U32(static_cast<u32>(components.size()));
    for (const std::string& component : components) {
        bytes.U32(static_cast<u32>(component.size()));
        for (char c : component)
            bytes.U16(static_cast<u16>(c));
    }
    return bytes.Str();
}

std::string File(const std::vector<std::string>& chunks) {
    std::string file = chTestBytes().Text("KSFB").U8(2).U8(0).U8(0).U8(0).Str();
    for (const std::string& chunk : chunks)
        file += chunk;
    return file;
}

std::string FileOf(const std::vector<u8>& bools, const std::vector<i32>& ints,
                   const std::vector<float>& floats, const std::vector<std::string>& path) {
    return File({Chunk("BOLP", 2, Counted<u8>(43, bools)), Chunk("INTP", 0, Counted<i32>(3, ints)),
                 Chunk("FLOP", 2, Counted<float>(12, floats)), Chunk("LLOP", 0, PathBody(1, path))});
}

const std::string kDefaultFile = FileOf(kBools, kInts, kFloats, {});

struct coPrefsTest : ::testing::Test {
    fsTestFolder folder;
    dbgLogCapture log;

    void SetUp() override {
        fsResetRootTable();
        fsAddRootDirectory(coRootSaves, folder.Locator());
        coPrefs::SetAdapterDescription("");
    }
    void TearDown() override { fsResetRootTable(); }
    void LoadFile(const std::string& bytes) {
        folder.Write("prefs.bin", bytes);
        coPrefs::Load();
    }
};

} // namespace

// No file: the defaults are made and saved, exactly as the format lays them out; the path is written
// component by component.
TEST_F(coPrefsTest, AMissingFileIsMadeFromTheDefaults) {
    coPrefs::Load();
    EXPECT_EQ(folder.Read("prefs.bin"), kDefaultFile);
    coPrefs::SetFloat(coPrefGamma, 0.25f);
    fsLocator music;
    music.AppendComponent("Music");
    music.AppendComponent("Song.mp3");
    coPrefs::SetPath(coPrefBuilderOwnTrack, music);
    coPrefs::Save();
    std::vector<float> floats = kFloats;
    floats[3] = 0.25f;
    EXPECT_EQ(folder.Read("prefs.bin"), FileOf(kBools, kInts, floats, {"Music", "Song.mp3"}));
    coPrefs::Load();
    EXPECT_EQ(coPrefs::GetPath(coPrefBuilderOwnTrack), music);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("prefs.bin.tmp")));

    // The units default follows basic string 16.
    for (const char* units : {"Metric Units: true", "Metric Units: false"}) {
        folder.Write("basicstr.tsf", "");
        {
            gfTextSet set(folder.Locator("basicstr.tsf"), 32, false);
            set.SetText(16, envString(units));
        }
        fsSetRootDirectory(coRootProgram, folder.Locator());
        coPaths::LoadBasicStrings();
        coPrefs::SetDefaults();
        EXPECT_EQ(coPrefs::GetBool(coPrefMetricUnits), units[14] == 't') << units;
    }

    const int sizes[][3] = {{0, 800, 600},   {1, 1024, 768}, {2, 1152, 864}, {3, 1280, 960},
                            {4, 1600, 1200}, {5, 640, 480},  {6, 800, 600},  {-1, 800, 600}};
    for (const auto& [index, width, height] : sizes) {
        int w = 0, h = 0;
        coPrefs::GetResolution(index, w, h);
        EXPECT_EQ(w * 10000 + h, width * 10000 + height) << index;
    }
}

// Fresh settings and loaded ones against the adapter: bools 29, 9, 30, 32 and int 1.
TEST_F(coPrefsTest, AdapterWorkarounds) {
    struct Case {
        const char* adapter;
        std::array<int, 5> fresh, loaded;
    };
    const Case cases[] = {{"Mesa llvmpipe", {0, 1, 0, 1, 16}, {0, 1, 0, 1, 32}},
                          {"Matrox Millennium G400 DualHead", {1, 0, 1, 1, 16}, {1, 0, 0, 1, 32}},
                          {"ATI Radeon 7500", {0, 1, 1, 1, 16}, {0, 1, 0, 1, 32}},
                          {"NVIDIA GeForce 2 GTS/AGP/SSE", {0, 1, 1, 1, 16}, {0, 1, 0, 1, 32}},
                          {"3dfx Voodoo3 3000", {0, 1, 0, 0, 16}, {0, 1, 0, 0, 16}},
                          {"nvidia geforce 2 gts", {0, 1, 0, 1, 16}, {0, 1, 0, 1, 32}}};
    std::vector<u8> bools = kBools;
    bools[29] = 1;
    const std::string stored = FileOf(bools, {0, 32, 0}, kFloats, {});
    for (const Case& c : cases) {
        coPrefs::SetAdapterDescription(c.adapter);
        const auto read = [] {
            return std::array<int, 5>{
                coPrefs::GetBool(coPrefMultitextureLocked), coPrefs::GetBool(coPrefMultitexture),
                coPrefs::GetBool(coPrefVerticalSync), coPrefs::GetBool(coPrefDeepColourOffered),
                coPrefs::GetInt(coPrefColourDepth)};
        };
        std::filesystem::remove(folder.Path("prefs.bin"));
        coPrefs::Load();
        EXPECT_EQ(read(), c.fresh) << c.adapter;
        LoadFile(stored);
        EXPECT_EQ(read(), c.loaded) << c.adapter;
    }
}

// Short, long and old chunks, missing chunks and odd values; each case lists settings as (kind, index,
// value): 'b' bool, 'i' int, 'f' float.
TEST_F(coPrefsTest, ChunksArePatchedAndOverlaidOnTheDefaults) {
    struct Setting {
        char kind;
        int index;
        float value;
    };
    const auto read = [](const Setting& s) {
        return s.kind == 'b'   ? coPrefs::GetBool(s.index)
               : s.kind == 'i' ? coPrefs::GetInt(s.index)
                               : coPrefs::GetFloat(s.index);
    };
    std::vector<u8> forty(40, 0);
    forty[0] = 2; // reads as false
    forty[1] = 1;
    std::vector<float> odd(12, 0.25f);
    odd[2] = std::numeric_limits<float>::quiet_NaN();
    odd[3] = std::numeric_limits<float>::infinity();
    odd[7] = -std::numeric_limits<float>::infinity();
    const std::pair<std::string, std::vector<Setting>> cases[] = {
        {File({Chunk("BOLP", 2, Counted<u8>(40, forty))}),
         {{'b', 0, 0}, {'b', 1, 1}, {'b', 39, 0}, {'b', 40, 1}, {'b', 42, 1}}},
        {File({Chunk("BOLP", 0, Counted<u8>(43, std::vector<u8>(43, 0)))}),
         {{'b', 8, 1}, {'b', 9, 1}, {'b', 10, 0}}},
        {File({Chunk("BOLP", 2, Counted<u8>(0, std::vector<u8>{}))}), {{'b', 2, 1}, {'b', 42, 1}}},
        {File({Chunk("BOLP", 2, Counted<u8>(44, std::vector<u8>(44, 0))),
               Chunk("INTP", 0, Counted<i32>(1, {5}))}),
         {{'b', 42, 0}, {'i', 0, 5}, {'i', 1, 1}, {'i', 2, 1}}},
        {File({Chunk("FLOP", 0, Counted<float>(12, std::vector<float>(12, 0.25f)))}),
         {{'f', 3, 0.25f}, {'f', 4, 0.8f}, {'f', 5, 0.5f}}},
        {File({Chunk("FLOP", 2, Counted<float>(12, odd))}),
         {{'f', 2, 1.0f}, {'f', 3, 0.5f}, {'f', 7, 0.5f}, {'f', 4, 0.25f}}},
        {File({Chunk("XTRA", 0, "junk"), Chunk("FLOP", 2, Counted<float>(2, {0.25f, 0.25f}))}),
         {{'f', 1, 0.25f}, {'f', 2, 1.0f}, {'b', 0, 1}, {'i', 1, 16}}},
    };
    for (const auto& [bytes, settings] : cases) {
        SCOPED_TRACE(bytes.size());
        LoadFile(bytes);
        for (const Setting& setting : settings)
            EXPECT_EQ(read(setting), setting.value) << setting.kind << setting.index;
        EXPECT_FALSE(std::filesystem::exists(folder.Path("prefs.bin.bad")));
    }
    // Paths beyond the first are dropped.
    LoadFile(File({Chunk("LLOP", 0, PathBody(2, {"Song.mp3"}) + "a second path")}));
    EXPECT_EQ(coPrefs::GetPath(coPrefBuilderOwnTrack).GetLastComponent(), envString("Song.mp3"));
}

// Every truncation, impossible counts and a wrong magic: the file is either read (each value the file's
// or its default) or set aside as "prefs.bin.bad" and replaced by the chunks read whole before the damage
// over the defaults.
TEST_F(coPrefsTest, DamagedFilesAreSetAsideKeepingTheWholeChunks) {
    const std::vector<u8> bools(43, 0);
    const std::vector<i32> ints = {7, 8, 9};
    const std::vector<float> floats(12, 0.25f);
    const std::string good = FileOf(bools, ints, floats, {"Music"});
    const size_t intsEnd =
        File({Chunk("BOLP", 2, Counted<u8>(43, bools)), Chunk("INTP", 0, Counted<i32>(3, ints))}).size();
    std::vector<std::string> damaged = {
        File({Chunk("BOLP", 2, Counted<u8>(0xFFFF, bools))}), File({Chunk("INTP", 0, Counted<i32>(4, ints))}),
        File({Chunk("LLOP", 0, chTestBytes().U16(1).U32(0xFFFFFFFF).U32(1).U16('a').Str())}),
        File({Chunk("LLOP", 0, chTestBytes().U16(1).U32(1).U32(0xFFFFFFFF).U16('a').Str())}),
        "BRFX" + good.substr(4)};
    for (size_t size = 0; size < good.size(); ++size)
        damaged.push_back(good.substr(0, size));
    int read = 0;
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        std::filesystem::remove(folder.Path("prefs.bin.bad"));
        log.lines.clear();
        LoadFile(bytes);
        const bool setAside = std::filesystem::exists(folder.Path("prefs.bin.bad"));
        read += setAside ? 0 : 1;
        EXPECT_EQ(folder.Read(setAside ? "prefs.bin.bad" : "prefs.bin"), bytes);
        EXPECT_EQ(log.Holds("is damaged"), setAside);
        // The ints survive every cut after their chunk.
        if (bytes.size() < good.size() && bytes == good.substr(0, bytes.size())) {
            EXPECT_EQ(coPrefs::GetInt(coPrefResolution), bytes.size() >= intsEnd ? 7 : 0);
        }
        if (setAside) {
            // What was kept is saved and reads back whole.
            const float kept = coPrefs::GetFloat(coPrefRideMusicVolume);
            std::filesystem::remove(folder.Path("prefs.bin.bad"));
            coPrefs::Load();
            EXPECT_FALSE(std::filesystem::exists(folder.Path("prefs.bin.bad")));
            EXPECT_EQ(coPrefs::GetFloat(coPrefRideMusicVolume), kept);
        }
        for (int i = 0; i < coPrefs::kBoolCount; ++i)
            EXPECT_TRUE(coPrefs::GetBool(i) == (kBools[i] == 1) || coPrefs::GetBool(i) == (bools[i] == 1))
                << i;
        for (int i = 0; i < coPrefs::kIntCount; ++i)
            EXPECT_TRUE(coPrefs::GetInt(i) == kInts[i] || coPrefs::GetInt(i) == ints[i]) << i;
        for (int i = 0; i < coPrefs::kFloatCount; ++i)
            EXPECT_TRUE(coPrefs::GetFloat(i) == kFloats[i] || coPrefs::GetFloat(i) == floats[i]) << i;
    }
    EXPECT_EQ(read, 3); // the truncations after the first, the second and the third whole chunk

    // A pipe in the file's place is never waited on: it is set aside, and the defaults are saved.
    std::filesystem::remove(folder.Path("prefs.bin"));
    std::filesystem::remove(folder.Path("prefs.bin.bad"));
    ASSERT_EQ(mkfifo(folder.Path("prefs.bin").c_str(), 0600), 0);
    coPrefs::Load();
    EXPECT_EQ(std::filesystem::status(folder.Path("prefs.bin.bad")).type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path("prefs.bin")));
    EXPECT_EQ(coPrefs::GetInt(coPrefResolution), kInts[coPrefResolution]);
}

// A save whose writes fail leaves the old file as it was, and no temporary file.
TEST_F(coPrefsTest, AFailedSaveKeepsTheOldFile) {
    coPrefs::Load();
    coPrefs::SetFloat(coPrefRideMusicVolume, 0.3f);
    {
        const fsWriteCalls failing(EIO);
        EXPECT_THROW(coPrefs::Save(), fsUnknownX);
    }
    EXPECT_EQ(folder.Read("prefs.bin"), kDefaultFile);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("prefs.bin.tmp")));
    coPrefs::Save();
    EXPECT_NE(folder.Read("prefs.bin"), kDefaultFile);
}

// The defaults' save of a first start on a full disc, before any box exists: the failure, naming
// prefs.bin and its cause, is held until a box shows it; only that spends "told once". A save that works
// drops what was held.
TEST_F(coPrefsTest, ASaveFailureIsHeldUntilABoxShowsIt) {
    static std::vector<std::string> told; // the file and errno of each failure the reporter was given
    static bool boxes;
    told.clear();
    boxes = false;
    coPrefs::SetSaveFailureReporter([] {
        try {
            throw;
        } catch (const fsFileFailureX& failure) {
            told.push_back(envStringToNarrow(failure.GetLocator().GetLastComponent()) + " " +
                           std::to_string(failure.GetSystemError()));
        }
        return boxes;
    });
    {
        const fsWriteCalls noRoom(ENOSPC);
        coPrefs::Load();
        coPrefs::TellHeldSaveFailure();
    }
    coPrefs::Save(); // room again: nothing is left to tell
    boxes = true;
    coPrefs::TellHeldSaveFailure();
    const std::string full = "prefs.bin " + std::to_string(ENOSPC);
    EXPECT_EQ(told, (std::vector<std::string>{full, full}));
    {
        const fsWriteCalls noRoom(ENOSPC);
        coPrefs::SaveOnItsOwn();
        boxes = false;
        coPrefs::SaveOnItsOwn();
        coPrefs::TellHeldSaveFailure();
    }
    EXPECT_EQ(told, (std::vector<std::string>{full, full, full}));
    coPrefs::SetSaveFailureReporter(nullptr);
}

TEST_F(coPrefsTest, VolumesAndIndicesOutOfRange) {
    coPrefs::Load();
    snSoundManager::Init();
    const std::pair<int, float> volumes[] = {{1, 0.1f}, {2, 0.2f}, {6, 0.6f}, {10, 0.9f}, {0, 0.0f}};
    for (const auto& [index, volume] : volumes)
        coPrefs::SetFloat(index, volume);
    coPrefs::ApplyVolumes();
    const std::pair<int, float> categories[] = {{8, 1.0f}, {32, 0.2f}, {1, 0.1f}, {4, 0.6f}, {2, 0.9f}};
    for (const auto& [bits, volume] : categories)
        EXPECT_EQ(snSoundManager::GetCategoryVolume(snSoundManager::CategoryIndex(bits)), volume) << bits;
    snSoundManager::Shutdown();

    EXPECT_DEBUG_DEATH(coPrefs::GetBool(coPrefs::kBoolCount), "preference index out of range");
    EXPECT_DEBUG_DEATH(coPrefs::SetFloat(-1, 1.0f), "preference index out of range");
#ifdef NDEBUG
    EXPECT_EQ(std::tuple(coPrefs::GetBool(-1), coPrefs::GetInt(coPrefs::kIntCount)), std::tuple(false, 0));
    EXPECT_EQ(coPrefs::GetPath(coPrefs::kPathCount).GetComponentCount(), 0u);
#endif
}
