#include "Source/Settings/coPrefs.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Settings/coPaths.h"

#include <array>
#include <cassert>
#include <cmath>
#include <exception>
#include <memory>

namespace {

constexpr const char* kDamagedName = "prefs.bin.bad";

bool (*g_saveFailureReporter)() = nullptr;
bool g_saveFailureTold = false;
std::exception_ptr g_heldSaveFailure;

// The chunk versions written; older versions are patched on reading.
constexpr u16 kBoolVersion = 2;
constexpr u16 kIntVersion = 0;
constexpr u16 kFloatVersion = 2;
constexpr u16 kPathVersion = 0;

constexpr u32 kBasicUnitsSwitch = 16;

constexpr std::array<u8, coPrefs::kBoolCount> kBoolDefaults = {
    1, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0,             // 0-10 (4, metric units, is decided at run time)
    1, 1, 1, 1, 1, 1,                            // 11-16 main-menu hints still to give
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,             // 17-27 second-screen hints still to give
    0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, // 28-42
};
constexpr std::array<i32, coPrefs::kIntCount> kIntDefaults = {0, 16, 0};
constexpr std::array<float, coPrefs::kFloatCount> kFloatDefaults = {1.0f,  1.0f, 1.0f, 0.5f,  0.5f,  0.5f,
                                                                    0.72f, 0.5f, 0.8f, 0.85f, 0.85f, 0.6f};

struct Values {
    std::array<u8, coPrefs::kBoolCount> bools{};
    std::array<i32, coPrefs::kIntCount> ints{};
    std::array<float, coPrefs::kFloatCount> floats{};
    std::array<fsLocator, coPrefs::kPathCount> paths;
};

Values g_values;
std::array<u8, coPrefs::kSessionFlagCount> g_sessionFlags{};
std::string g_adapter;

bool InRange(int index, int count) {
    const bool valid = index >= 0 && index < count;
    assert(valid && "preference index out of range");
    return valid;
}

bool AdapterHas(const char* name) {
    return g_adapter.find(name) != std::string::npos;
}

Values DefaultValues() {
    Values values;
    values.bools = kBoolDefaults;
    values.bools[coPrefMetricUnits] =
        coPaths::GetBasicString(kBasicUnitsSwitch) == envString("Metric Units: true");
    values.ints = kIntDefaults;
    values.floats = kFloatDefaults;
    return values;
}

void ApplyNewSettingsWorkarounds(Values& values) {
    if (AdapterHas("Matrox Millennium G400")) {
        values.bools[coPrefMultitextureLocked] = 1;
        values.bools[coPrefMultitexture] = 0;
        values.bools[coPrefVerticalSync] = 1;
    }
    if (AdapterHas("Radeon") || AdapterHas("GeForce 2 GTS"))
        values.bools[coPrefVerticalSync] = 1;
    if (AdapterHas("Voodoo3")) {
        values.bools[coPrefDeepColourOffered] = 0;
        values.ints[coPrefColourDepth] = 16;
    }
}

void ApplyLoadedWorkarounds(Values& values) {
    const bool g400 = AdapterHas("Matrox Millennium G400");
    values.bools[coPrefMultitextureLocked] = g400 ? 1 : 0;
    if (g400)
        values.bools[coPrefMultitexture] = 0;
    if (AdapterHas("Voodoo3")) {
        values.bools[coPrefDeepColourOffered] = 0;
        values.ints[coPrefColourDepth] = 16;
    }
}

// A u16 count of items of itemSize bytes each, all of which must fit in the rest of the body: counts
// come from the file and are refused before anything is read or allocated for them.
u32 Count(chChunkBody& body, u32 itemSize) {
    const u16 count = body.UInt16();
    body.Require(count, itemSize);
    return count;
}

// Values beyond a short count are set to one; values beyond the known count are left in the file.
void ReadBools(chChunkBody& body, u16 version, Values& values) {
    const u32 count = Count(body, 1);
    for (u32 i = 0; i < values.bools.size(); ++i)
        values.bools[i] = i < count ? (body.UInt8() == 1 ? 1 : 0) : 1;
    if (version == 0)
        values.bools[coPrefLayeredSky] = values.bools[coPrefMultitexture] = 1;
}

void ReadInts(chChunkBody& body, Values& values) {
    const u32 count = Count(body, 4);
    for (u32 i = 0; i < values.ints.size(); ++i)
        values.ints[i] = i < count ? body.Int32() : 1;
}

void ReadFloats(chChunkBody& body, u16 version, Values& values) {
    const u32 count = Count(body, 4);
    for (u32 i = 0; i < values.floats.size(); ++i) {
        const float value = i < count ? body.Float() : 1.0f;
        values.floats[i] = std::isfinite(value) ? value : kFloatDefaults[i];
    }
    // Version 0 predates floats 4 and 5 (the prop view distance and the ride's range).
    if (version == 0) {
        values.floats[coPrefPropFarClipping] = 0.8f;
        values.floats[coPrefDetailDistance] = 0.5f;
    }
}

void ReadPaths(chChunkBody& body, Values& values) {
    const u32 count = Count(body, 4);
    for (u32 i = 0; i < values.paths.size(); ++i) {
        fsLocator path;
        if (i < count) {
            const u32 components = body.UInt32();
            for (u32 c = 0; c < components; ++c) {
                const u32 length = body.UInt32();
                path.AppendComponent(body.Units(length));
            }
        }
        values.paths[i] = path;
    }
}

// The file's values over those given, a whole chunk at a time: when a damaged file throws
// chInvalidChunkX or gfInvalidFileBinX, the values hold the chunks read whole before the damage, and
// chunksRead counts them.
void ReadFile(const fsLocator& locator, Values& values, int& chunksRead) {
    auto file = std::make_unique<gfFile>(locator, gfFileRead, gfByteOrderData);
    u8 version[4];
    file->ReadBinHeaderBeforeChunks(version);
    if (version[0] == gfByteOrderReversed) {
        file = std::make_unique<gfFile>(locator, gfFileRead, gfByteOrderReversed);
        file->Seek(8, 0);
    }
    chBinReader reader(file.get());
    u32 id, size;
    u16 chunkVersion;
    while (reader.BeginChunk(&id, &chunkVersion, &size)) {
        chChunkBody body(reader, size);
        Values read = values;
        if (id == coChunkFloatPrefs)
            ReadFloats(body, chunkVersion, read);
        else if (id == coChunkIntPrefs)
            ReadInts(body, read);
        else if (id == coChunkBoolPrefs)
            ReadBools(body, chunkVersion, read);
        else if (id == coChunkPathPrefs)
            ReadPaths(body, read);
        reader.EndChunk();
        values = std::move(read);
        ++chunksRead;
    }
}

void WriteChunks(chBinWriter& writer) {
    writer.BeginChunk(coChunkBoolPrefs, kBoolVersion, true);
    writer.WriteUInt16(coPrefs::kBoolCount);
    for (u8 value : g_values.bools)
        writer.WriteUInt8(value);
    writer.EndChunk();

    writer.BeginChunk(coChunkIntPrefs, kIntVersion, true);
    writer.WriteUInt16(coPrefs::kIntCount);
    for (i32 value : g_values.ints)
        writer.WriteInt32(value);
    writer.EndChunk();

    writer.BeginChunk(coChunkFloatPrefs, kFloatVersion, true);
    writer.WriteUInt16(coPrefs::kFloatCount);
    for (float value : g_values.floats)
        writer.WriteFloat(value);
    writer.EndChunk();

    writer.BeginChunk(coChunkPathPrefs, kPathVersion, true);
    writer.WriteUInt16(coPrefs::kPathCount);
    for (const fsLocator& path : g_values.paths) {
        writer.WriteUInt32(path.GetComponentCount());
        for (u32 c = 0; c < path.GetComponentCount(); ++c) {
            const envString& component = path.GetComponent(c);
            writer.WriteUInt32(component.GetLength());
            writer.WriteChars(component.GetData(), component.GetLength());
        }
    }
    writer.EndChunk();
}

fsLocator Sibling(const fsLocator& file, const char* name) {
    fsLocator sibling = file;
    sibling.RemoveLastComponent();
    sibling.AppendComponent(name);
    return sibling;
}

// Keeps the damaged file for a look and saves the settings in force in its place.
void ReplaceDamagedFile(const fsLocator& file, int chunksRead) {
    std::string path;
    fsLocatorToNativePath(file, path);
    DBG_WARNING("%s is damaged: kept as %s, %s", path.c_str(), kDamagedName,
                chunksRead ? "the settings read before the damage are kept"
                           : "the default settings are used");
    fsRename(file, Sibling(file, kDamagedName));
    coPrefs::SaveOnItsOwn();
}

// The failure being handled goes to the reporter; one that no box showed waits for the next chance.
void TellSaveFailure() {
    if (g_saveFailureReporter && g_saveFailureReporter()) {
        g_saveFailureTold = true;
        g_heldSaveFailure = nullptr;
        return;
    }
    if (!g_heldSaveFailure)
        DBG_WARNING("the settings could not be saved; they hold for this run");
    g_heldSaveFailure = std::current_exception();
}

} // namespace

void coPrefs::Load() {
    SetDefaults(); // in force whatever happens to the file
    fsLocator file;
    GetFilePath(file);
    if (!fsFileExists(file)) {
        SaveOnItsOwn();
        return;
    }
    Values values = DefaultValues();
    int chunksRead = 0;
    bool damaged = false;
    try {
        ReadFile(file, values, chunksRead);
    } catch (const chInvalidChunkX&) {
        damaged = true;
    } catch (const gfInvalidFileBinX&) {
        damaged = true;
    } catch (const fsReadOnlyX& refused) {
        // A pipe or a device in the file's place holds no settings: it is set aside as a damaged file is.
        if (refused.GetSystemError() != fsNotAFileError)
            throw;
        damaged = true;
    }
    // A file damaged before its first whole chunk gave nothing: the fresh defaults stand.
    if (!damaged || chunksRead > 0) {
        ApplyLoadedWorkarounds(values);
        g_values = std::move(values);
    }
    if (damaged)
        ReplaceDamagedFile(file, chunksRead);
}

void coPrefs::Save() {
    fsLocator target;
    GetFilePath(target);
    gfWriteFileAtomically(target, gfByteOrderData, [](gfFile& file) {
        const u8 version[4] = {gfByteOrderData, 0, 0, 0};
        file.WriteBinHeader(version);
        chBinWriter writer(&file);
        WriteChunks(writer);
    });
    g_heldSaveFailure = nullptr; // the settings are kept after all
}

void coPrefs::SaveOnItsOwn() {
    try {
        Save();
    } catch (const envExceptionX&) {
        if (!g_saveFailureTold)
            TellSaveFailure();
    }
}

void coPrefs::SetSaveFailureReporter(bool (*reporter)()) {
    g_saveFailureReporter = reporter;
}

void coPrefs::TellHeldSaveFailure() {
    if (g_saveFailureTold || !g_heldSaveFailure)
        return;
    try {
        std::rethrow_exception(g_heldSaveFailure);
    } catch (const envExceptionX&) {
        TellSaveFailure();
    }
}

void coPrefs::SetDefaults() {
    g_values = DefaultValues();
    ApplyNewSettingsWorkarounds(g_values);
}

bool coPrefs::GetBool(int index) {
    return InRange(index, kBoolCount) && g_values.bools[index] == 1;
}

void coPrefs::SetBool(int index, bool value) {
    if (InRange(index, kBoolCount))
        g_values.bools[index] = value ? 1 : 0;
}

int coPrefs::GetInt(int index) {
    return InRange(index, kIntCount) ? g_values.ints[index] : 0;
}

void coPrefs::SetInt(int index, int value) {
    if (InRange(index, kIntCount))
        g_values.ints[index] = value;
}

float coPrefs::GetFloat(int index) {
    return InRange(index, kFloatCount) ? g_values.floats[index] : 0.0f;
}

void coPrefs::SetFloat(int index, float value) {
    if (InRange(index, kFloatCount))
        g_values.floats[index] = value;
}

const fsLocator& coPrefs::GetPath(int index) {
    static const fsLocator none;
    return InRange(index, kPathCount) ? g_values.paths[index] : none;
}

void coPrefs::SetPath(int index, const fsLocator& path) {
    if (InRange(index, kPathCount))
        g_values.paths[index] = path;
}

u8 coPrefs::GetSessionFlag(int index) {
    return InRange(index, kSessionFlagCount) ? g_sessionFlags[index] : 0;
}

void coPrefs::SetSessionFlag(int index, u8 value) {
    if (InRange(index, kSessionFlagCount))
        g_sessionFlags[index] = value;
}

void coPrefs::GetResolution(int index, int& width, int& height) {
    static constexpr int kSizes[kResolutionCount][2] = {{800, 600},  {1024, 768},  {1152, 864},
                                                        {1280, 960}, {1600, 1200}, {640, 480}};
    const int row = index > 0 && index < kResolutionCount ? index : 0;
    width = kSizes[row][0];
    height = kSizes[row][1];
}

void coPrefs::ApplyVolumes() {
    snSoundManager::SetCategoryVolume(1.0f, 8); // music: the playlists carry their own
    snSoundManager::SetCategoryVolume(g_values.floats[coPrefInterfaceVolume], 32);
    snSoundManager::SetCategoryVolume(g_values.floats[coPrefSoundEffectsVolume], 1);
    snSoundManager::SetCategoryVolume(g_values.floats[coPrefAmbientVolume], 4);
    snSoundManager::SetCategoryVolume(g_values.floats[coPrefVoicesVolume], 2);
}

void coPrefs::GetFilePath(fsLocator& out) {
    std::vector<fsLocator> saves;
    fsGetRootDirectories(coRootSaves, saves);
    if (saves.empty())
        throw fsDirectoryDoesntExistX(fsLocator(coRootSaves));
    out = saves.front();
    out.AppendComponent(coPrefsFileName);
}

void coPrefs::SetAdapterDescription(const std::string& description) {
    g_adapter = description;
}

void coGetDefaultResolution(int& width, int& height) {
    width = 800;
    height = 600;
}
