#include "Engine/App/Gf/gfPakSearcher.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfPakFile.h"

namespace {

gfPakSearcher::PakLocator* g_locator = nullptr;

// The locator object leaves the path empty when the locator itself is the entry's path.
const fsLocator& EntryPath(const fsLocator& pathInPak, const fsLocator& locator) {
    return pathInPak.GetComponentCount() > 0 ? pathInPak : locator;
}

} // namespace

namespace gfPakSearcher {

void SetPakLocator(PakLocator* locator) {
    g_locator = locator;
}

gfPakFile* FindPak(const fsLocator& locator, fsLocator& pathInPak) {
    if (!g_locator || !locator.IsRooted())
        return nullptr;
    fsLocator path;
    gfPakFile* pak = g_locator->Locate(locator.GetRoot(), locator, path);
    pathInPak = EntryPath(path, locator);
    return pak;
}

std::unique_ptr<gfPakEntryStream> OpenEntry(const fsLocator& locator) {
    fsLocator pathInPak;
    gfPakFile* pak = FindPak(locator, pathInPak);
    return pak ? std::make_unique<gfPakEntryStream>(*pak, pathInPak) : nullptr;
}

bool FileExists(const fsLocator& locator) {
    if (g_locator) {
        fsLocator pathInPak;
        if (gfPakFile* pak = g_locator->Locate(locator.GetRoot(), locator, pathInPak))
            return pak->HasEntry(EntryPath(pathInPak, locator));
    }
    fsLocator onDisc = locator;
    fsLocateInFirstRootDirectory(onDisc);
    return fsFileExists(onDisc);
}

} // namespace gfPakSearcher

bool gfFileExists(const fsLocator& locator) {
    fsLocator found;
    return fsFindInRootDirectories(locator, found) || gfPakSearcher::FileExists(locator);
}
