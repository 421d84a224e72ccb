#include "Source/App/coSaveTemporaries.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Platform/Os/plAtomicFile.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/World/coPropPack.h"

#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool IsRealFolder(const fs::path& path) {
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type() == fs::file_type::directory;
}

// The sub-folders of a real folder; links to folders are not among them.
std::vector<fs::path> SubFolders(const fs::path& folder) {
    std::vector<fs::path> folders;
    if (!IsRealFolder(folder))
        return folders;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        if (IsRealFolder(entry->path()))
            folders.push_back(entry->path());
    return folders;
}

// Whether a temporary's target is one of the game's files in its folder: the target's name, and whether
// the temporary may hold that name cut short.
using IsTarget = std::function<bool(const std::string& target, bool cut)>;

// Removes the plain files of a real folder named as the temporary of a target the test accepts, whose
// writer no longer runs (another game on the same folder may be writing its own).
void RemoveTemporaries(const fs::path& folder, const IsTarget& isTarget) {
    if (!IsRealFolder(folder))
        return;
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (entry->symlink_status(ignored).type() != fs::file_type::regular)
            continue;
        const std::string name = entry->path().filename().string();
        const std::optional<std::string> target = plAtomicFile::StaleTargetOf(name);
        if (target && isTarget(*target, plAtomicFile::MayHoldCutTarget(name)))
            found.push_back(entry->path());
    }
    for (const fs::path& file : found) {
        std::error_code ignored;
        fs::remove(file, ignored);
    }
}

IsTarget Named(std::string target) {
    return [target = std::move(target)](const std::string& name, bool) { return name == target; };
}

} // namespace

void coRemoveSaveTemporaries(const fs::path& saves) {
    // Only a coaster's name is long enough to be cut in its temporary's.
    RemoveTemporaries(saves, [](const std::string& name, bool cut) {
        return name == coPrefsFileName || name == coLoadCacheFileName ||
               name.ends_with(coSavedCoasterExtension) || cut;
    });
    for (const fs::path& folder : SubFolders(saves)) {
        const std::string name = folder.filename().string();
        if (name == coTrackColoursFolder || name == coUnlockedPropsFolder)
            continue;
        RemoveTemporaries(folder, Named(coCareerSaveFileName));
        for (const fs::path& type : SubFolders(folder))
            RemoveTemporaries(type, [](const std::string& file, bool) { return coMissionNumber(file) != 0; });
    }
    for (const fs::path& environment : SubFolders(saves / coTrackColoursFolder))
        for (const fs::path& type : SubFolders(environment / "Tracks"))
            RemoveTemporaries(type, Named(coTrackColorFileName));
    for (const fs::path& theme : SubFolders(saves / coUnlockedPropsFolder))
        RemoveTemporaries(theme, [themeName = theme.filename().string()](const std::string& name, bool) {
            for (int row = 0; row < coPropPackCount; ++row)
                if (themeName == coGetPropPackRow(row).theme && name == coGetPropPackRow(row).definitionFile)
                    return true;
            return false;
        });
}

void coRemoveSaveTemporaries() {
    std::vector<fsLocator> saves;
    fsGetRootDirectories(coRootSaves, saves);
    if (saves.empty())
        return;
    std::string folder;
    fsLocatorToNativePath(saves.front(), folder);
    coRemoveSaveTemporaries(folder);
}
