#include "Source/SavedCoaster/coLoadCache.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coPaths.h"

#include <string_view>
#include <vector>

namespace {

constexpr u32 kChunkInfo = chMakeId('I', 'N', 'F', 'O');
constexpr u16 kChunkVersion = 1;
constexpr u32 kExtensionLength = std::string_view(coSavedCoasterExtension).size();
const char* const kCoastersFolder = "Coasters";

fsLocator CacheFile() {
    fsLocator file = fsGetRootDirectory(coRootSaves, 0);
    file.AppendComponent(coLoadCacheFileName);
    return file;
}

std::vector<fsLocator> SavesDirectories() {
    std::vector<fsLocator> directories;
    fsGetRootDirectories(coRootSaves, directories);
    return directories;
}

envString WithoutExtension(const envString& fileName) {
    return envString(0, fileName.GetLength() - kExtensionLength, fileName);
}

void ReadText(chBinReader& reader, envString& out) {
    u32 length = 0;
    reader.ReadUInt32(&length);
    // A length from the file: refused before anything is allocated or read past the chunk.
    if (u64{length} * 2 > reader.GetChunkBytesLeft())
        throw chInvalidChunkX(reader.GetLocator());
    reader.ReadChars(out, length);
}

void WriteText(chWriter& writer, const envString& text) {
    writer.WriteUInt32(text.GetLength());
    writer.WriteChars(text.GetData(), text.GetLength());
}

void ReadEntry(chBinReader& reader, const std::vector<fsLocator>& directories, coLoadCacheMap& map) {
    coLoadCacheEntry entry;
    reader.ReadUInt32(&entry.directoryIndex);
    ReadText(reader, entry.name);
    ReadText(reader, entry.dockText);
    ReadText(reader, entry.environmentText);
    ReadText(reader, entry.trackTypeText);
    reader.ReadDouble(&entry.fileTime);
    u8 flag = 0;
    reader.ReadUInt8(&flag);
    entry.finished = flag != 0;
    reader.ReadUInt8(&flag);
    entry.loadable = flag != 0;
    if (entry.directoryIndex >= directories.size())
        return;
    entry.file = directories[entry.directoryIndex];
    envString fileName = entry.name;
    fileName.Append(envString(coSavedCoasterExtension));
    entry.file.AppendComponent(fileName);
    const fsLocator key = entry.file;
    map[key] = std::move(entry);
}

// The position of the file's folder among the saves directories; a "Coasters" sub-folder counts as
// its parent.
bool FindDirectoryIndex(const fsLocator& file, u32& index) {
    fsLocator directory = file;
    directory.RemoveLastComponent();
    if (directory.GetComponentCount() > 0 && directory.GetLastComponent() == envString(kCoastersFolder))
        directory.RemoveLastComponent();
    const std::vector<fsLocator> directories = SavesDirectories();
    for (u32 i = 0; i < directories.size(); ++i)
        if (directories[i] == directory) {
            index = i;
            return true;
        }
    return false;
}

void Summarise(const fsLocator& file, coLoadCacheEntry& entry) {
    std::string typeName, environmentName, dockName;
    coReadCoasterSummary(file, typeName, environmentName, dockName, entry.finished, entry.loadable);
    entry.trackTypeText = envString(typeName.c_str());
    entry.environmentText = envString(environmentName.c_str());
    entry.dockText = envString(dockName.c_str());
}

void WarnNotListed(const fsLocator& file, bool cutShort) {
    std::string path;
    fsLocatorToNativePath(file, path);
    DBG_WARNING("load menu: \"%s\" is %s; not listed", path.c_str(),
                cutShort ? "cut short" : "no coaster file");
}

void MarkSeen(coLoadCacheEntry& entry, f64 fileTime, bool readOnly) {
    fsFileTimeToText(fileTime, entry.dateText);
    entry.readOnly = readOnly;
    entry.seen = true;
}

} // namespace

bool coIsCoasterFileName(const envString& fileName) {
    const u32 length = fileName.GetLength();
    if (length <= kExtensionLength)
        return false;
    for (u32 i = 0; i < kExtensionLength; ++i) {
        char16_t unit = fileName[length - kExtensionLength + i];
        if (unit >= u'A' && unit <= u'Z')
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        if (unit != static_cast<char16_t>(coSavedCoasterExtension[i]))
            return false;
    }
    return true;
}

void coReadLoadCache(coLoadCacheMap& map) {
    const fsLocator path = CacheFile();
    if (!fsFileExists(path))
        return;
    map.clear();
    const std::vector<fsLocator> directories = SavesDirectories();
    try {
        gfFile file(path, gfFileRead, gfByteOrderData);
        chBinReader reader(&file);
        u32 id = 0, size = 0;
        u16 version = 0;
        while (reader.BeginChunk(&id, &version, &size)) {
            if (version == 0) {
                map.clear();
                return;
            }
            if (id == kChunkInfo)
                ReadEntry(reader, directories, map);
            reader.EndChunk();
        }
    } catch (const chInvalidChunkX&) {
        map.clear();
    } catch (const fsFileFailureX& failure) {
        // The cache only saves time: one that cannot be read (a pipe, a file the player may not read) is
        // as none, and the menu's write puts a readable one in its place where the folder allows.
        std::string native;
        fsLocatorToNativePath(path, native);
        DBG_WARNING("the load-menu cache \"%s\" cannot be read (error 0x%08X); the coasters are read again",
                    native.c_str(), failure.GetCode());
        map.clear();
    }
}

bool coScanLoadCacheFile(const fsLocator& file, coLoadCacheMap& map) {
    // One look at the file serves the time test, the date and the read-only flag: the scan's cost
    // for an unchanged file is this and the map look-up.
    f64 fileTime = 0.0;
    bool readOnly = false;
    if (!fsGetFileAttributes(file, fileTime, readOnly))
        return false; // gone since it was listed
    const auto found = map.find(file);
    if (found != map.end() && found->second.loadable && fileTime <= found->second.fileTime) {
        MarkSeen(found->second, fileTime, readOnly);
        return false;
    }
    coLoadCacheEntry entry;
    if (found != map.end()) {
        entry = found->second;
    } else {
        if (file.GetComponentCount() == 0 || !coIsCoasterFileName(file.GetLastComponent()) ||
            !FindDirectoryIndex(file, entry.directoryIndex))
            return false;
        entry.name = WithoutExtension(file.GetLastComponent());
        entry.file = file;
    }
    try {
        Summarise(file, entry);
    } catch (const gfInvalidFileBinX& failure) {
        WarnNotListed(file, failure.GetDamage() == gfDamage::CutShort);
        return false;
    } catch (const chInvalidChunkX&) {
        WarnNotListed(file, false);
        return false;
    }
    // The time from before the reading: a file saved while it was read is read again next time.
    entry.fileTime = fileTime;
    MarkSeen(entry, fileTime, readOnly);
    map[file] = std::move(entry);
    return true;
}

void coWriteLoadCache(const coLoadCacheMap& map) {
    const fsLocator path = CacheFile();
    if (map.empty()) {
        if (fsFileExists(path))
            fsDeleteFile(path);
        return;
    }
    fsWriteFileAtomically(path, [&](const fsLocator& temporary) {
        gfFile file(temporary, gfFileWrite, gfByteOrderData);
        chBinWriter writer(&file);
        for (const auto& [locator, entry] : map) {
            if (!entry.seen)
                continue;
            writer.BeginChunk(kChunkInfo, kChunkVersion, true);
            writer.WriteUInt32(entry.directoryIndex);
            WriteText(writer, entry.name);
            WriteText(writer, entry.dockText);
            WriteText(writer, entry.environmentText);
            WriteText(writer, entry.trackTypeText);
            writer.WriteDouble(entry.fileTime);
            writer.WriteUInt8(entry.finished ? 1 : 0);
            writer.WriteUInt8(entry.loadable ? 1 : 0);
            writer.EndChunk();
        }
        file.Flush();
    });
}
