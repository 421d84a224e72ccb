#include "Source/Settings/coPakManager.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Source/Settings/coPaths.h"

#include <filesystem>
#include <string>

namespace {

using PakSet = std::vector<std::unique_ptr<gfPakFile>>;

PakSet g_guiPaks;
PakSet g_geomPaks;
PakSet g_coasterPaks;
envString g_openCoasterType;
std::unique_ptr<coPakManager::coPakLocator> g_locator;

// Tool images are always read from disc.
const envString kToolsFolder("Tools");
const envString kImageExtension(".png");

// The first pak of the set that holds the entry.
gfPakFile* FindIn(const PakSet& paks, const fsLocator& entry) {
    for (const auto& pak : paks)
        if (pak->HasEntry(entry))
            return pak.get();
    return nullptr;
}

// Exactly ".png" at the end of a name of at least 5 units: other images are never in the pak.
bool IsPngName(const envString& name) {
    const u32 length = name.GetLength();
    if (length < 5)
        return false;
    return envString(length - 4, 4, name) == kImageExtension;
}

// Whether anything stands under the file's name: a folder, or a link that leads nowhere or back to itself.
bool Stands(const fsLocator& file) {
    std::string path;
    fsLocatorToNativePath(file, path);
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

// Every directory of the root holding the file, in order. The set is filled only when all opened, so
// a pak that fails to open leaves the set closed. A required pak is missing when no directory holds it,
// and anything else standing in its place is opened, so that its failure names it.
void OpenSet(PakSet& paks, i32 root, const envString& fileName, bool required = false) {
    std::vector<fsLocator> directories;
    fsGetRootDirectories(root, directories);
    PakSet opened;
    for (fsLocator& pak : directories) {
        if (pak.GetComponentCount() == 0)
            continue;
        pak.AppendComponent(fileName);
        if (fsFileExists(pak) || (required && Stands(pak)))
            opened.push_back(std::make_unique<gfPakFile>(pak));
    }
    if (required && opened.empty()) {
        fsLocator missing(root);
        missing.AppendComponent(fileName);
        throw fsFileDoesntExistX(missing);
    }
    paks = std::move(opened);
}

} // namespace

gfPakFile* coPakManager::coPakLocator::Locate(i32 root, const fsLocator& locator, fsLocator& pathInPak) {
    if (locator.GetComponentCount() == 0)
        return nullptr;
    switch (root) {
    case coRootTracks:
        // Coaster-type paks hold their files flat, by file name.
        if (g_coasterPaks.empty() || locator.GetComponent(0) != g_openCoasterType)
            return nullptr;
        pathInPak.Clear();
        pathInPak.AppendComponent(locator.GetLastComponent());
        return FindIn(g_coasterPaks, pathInPak);
    case coRootGui:
        if (locator.GetComponent(0) == kToolsFolder || !IsPngName(locator.GetLastComponent()))
            return nullptr;
        return FindIn(g_guiPaks, locator);
    case coRootGeom:
        return FindIn(g_geomPaks, locator);
    default:
        return nullptr;
    }
}

void coPakManager::Create() {
    if (!g_locator)
        g_locator = std::make_unique<coPakLocator>();
    gfPakSearcher::SetPakLocator(g_locator.get());
}

void coPakManager::Destroy() {
    CloseAllPaks();
    gfPakSearcher::SetPakLocator(nullptr);
    g_locator.reset();
}

void coPakManager::OpenGuiPaks() {
    g_guiPaks.clear();
    OpenSet(g_guiPaks, coRootGui, envString("gui.pak"));
}

void coPakManager::RequireGuiPaks() {
    g_guiPaks.clear();
    OpenSet(g_guiPaks, coRootGui, envString("gui.pak"), true);
}

void coPakManager::OpenGeomPaks() {
    CloseGeomPaks();
    OpenSet(g_geomPaks, coRootGeom, envString("geom.pak"));
}

void coPakManager::CloseGeomPaks() {
    g_geomPaks.clear();
}

void coPakManager::OpenCoasterPaks(const envString& coasterType) {
    CloseCoasterPaks();
    envString pakName = coasterType;
    pakName.Append(envString(".pak"));
    OpenSet(g_coasterPaks, coRootTracks, pakName);
    g_openCoasterType = coasterType;
}

void coPakManager::CloseCoasterPaks() {
    g_coasterPaks.clear();
    g_openCoasterType.Clear();
}

void coPakManager::CloseAllPaks() {
    CloseGeomPaks();
    CloseCoasterPaks();
    g_guiPaks.clear();
}

const envString& coPakManager::GetOpenCoasterType() {
    return g_openCoasterType;
}
