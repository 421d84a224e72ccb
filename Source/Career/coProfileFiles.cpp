#include "Source/Career/coProfileFiles.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Platform/Os/plAtomicFile.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Settings/coErrorPackage.h"
#include "Source/Settings/coPaths.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t kLongestName = 255;
constexpr u32 kNotRestartedError = 49;

std::string NativePath(const fsLocator& locator) {
    std::string path;
    fsLocatorToNativePath(locator, path);
    return path;
}

bool IsExactDirectory(const fsLocator& folder) {
    std::error_code ignored;
    return std::filesystem::is_directory(NativePath(folder), ignored);
}

// The profile's folder in the first directory of the saves root that holds it, else in the first
// directory. Names are compared exactly: "ann" is not the profile "Ann".
fsLocator ProfileFolder(const envString& name, bool& exists) {
    std::vector<fsLocator> directories;
    fsGetRootDirectories(coRootSaves, directories);
    for (const fsLocator& directory : directories) {
        fsLocator folder = directory;
        folder.AppendComponent(name);
        if ((exists = IsExactDirectory(folder)))
            return folder;
    }
    fsLocator folder = fsGetRootDirectory(coRootSaves, 0);
    folder.AppendComponent(name);
    return folder;
}

// What the entry itself is, a link not followed.
std::filesystem::file_status EntryStatus(const fsLocator& entry) {
    std::error_code ignored;
    return std::filesystem::symlink_status(NativePath(entry), ignored);
}

template <class Operation> bool Reported(const fsLocator& target, Operation operation) {
    try {
        operation();
        return true;
    } catch (const envExceptionX& failure) {
        const u32 code = failure.GetCode();
        gfErrorHandler::Report(gfDisplayNotice, envErrorCodePackage(code), envErrorCodeNumber(code),
                               NativePath(target).c_str());
        return false;
    }
}

// Whether `name` is a file the game writes for a target that `isTarget` accepts: the target itself, the
// damaged copy kept beside it, or the temporary of one of its saves that a stopped game left.
template <class IsTarget> bool IsGameFile(const std::string& name, IsTarget isTarget) {
    constexpr std::string_view kBad = ".bad";
    if (isTarget(name) || (name.ends_with(kBad) && isTarget(name.substr(0, name.size() - kBad.size()))))
        return true;
    const std::optional<std::string> target = plAtomicFile::StaleTargetOf(name);
    return target && isTarget(*target);
}

// A link or another non-file under a name of the game's is the player's to remove: the restart leaves it
// (never what a link leads to) and says so.
void TellNotRestarted(const fsLocator& entry) {
    gfErrorHandler::Report(gfDisplayNotice, coErrorPackage, kNotRestartedError, NativePath(entry).c_str());
}

// Deletes the game's own files directly inside a real folder; every other entry stays, and `whole` is
// cleared when a game's name was not a file. False at the first delete that fails.
template <class IsTarget> bool DeleteGameFiles(const fsLocator& folder, IsTarget isTarget, bool& whole) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(NativePath(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code ignored;
        const std::string name = entry->path().filename().string();
        if (!IsGameFile(name, isTarget))
            continue;
        fsLocator file = folder;
        file.AppendComponent(envString(envUtf8ToUtf16(name).c_str()));
        if (entry->symlink_status(ignored).type() != std::filesystem::file_type::regular) {
            TellNotRestarted(file);
            whole = false;
        } else if (!Reported(file, [&] { fsDeleteFile(file); })) {
            return false;
        }
    }
    return true;
}

// The names of the mission folders, which are the names of the career's folders in a profile.
std::vector<envString> MissionFolderNames() {
    fsFileEnum::FileListTarget folders;
    fsEnumerateDirectories(fsLocator(coRootMissions), folders);
    std::vector<envString> names;
    for (const fsLocator& folder : folders.GetList()) {
        const envString& name = folder.GetLastComponent();
        if (name != envString(".") && name != envString(".."))
            names.push_back(name);
    }
    return names;
}

// A profile folder that is a link would lead the restart out of the saves folder: the link goes, never
// what it names, and a folder of the profile's name starts the career afresh.
bool ReplaceLinkedProfile(const fsLocator& folder) {
    DBG_WARNING("The trackwright folder %s is a link; the link is removed (not what it leads to) and a new "
                "folder made",
                NativePath(folder).c_str());
    return Reported(folder, [&] { fsDeleteFile(folder); }) &&
           Reported(folder, [&] { fsCreateDirectory(folder); });
}

} // namespace

bool coIsValidProfileName(const envString& name) {
    if (name.GetLength() == 0 || name == envString(".") || name == envString(".."))
        return false;
    for (u32 i = 0; i < name.GetLength(); ++i) {
        const char16_t unit = name[i];
        if (unit == u'/' || unit == u'\\' || unit < 0x20 || (unit >= 0x7F && unit <= 0x9F))
            return false;
    }
    const std::u16string units(name.GetData(), name.GetLength());
    return envUtf16ToUtf8(units).size() <= kLongestName;
}

bool coProfileExists(const envString& name) {
    bool exists = false;
    ProfileFolder(name, exists);
    return exists;
}

bool coCreateProfile(const envString& name) {
    bool exists = false;
    const fsLocator folder = ProfileFolder(name, exists);
    return Reported(folder, [&] { fsCreateDirectory(folder); });
}

bool coRestartProfile(const envString& name) {
    bool exists = false;
    const fsLocator folder = ProfileFolder(name, exists);
    if (std::filesystem::is_symlink(EntryStatus(folder)))
        return ReplaceLinkedProfile(folder);
    bool whole = true;
    if (!DeleteGameFiles(
            folder, [](const std::string& file) { return file == coCareerSaveFileName; }, whole))
        return false;
    for (const envString& name : MissionFolderNames()) {
        fsLocator type = folder;
        type.AppendComponent(name);
        const std::filesystem::file_status status = EntryStatus(type);
        if (!std::filesystem::exists(status))
            continue;
        if (status.type() != std::filesystem::file_type::directory) {
            TellNotRestarted(type);
            whole = false;
            continue;
        }
        if (!DeleteGameFiles(
                type, [](const std::string& file) { return coMissionNumber(file) != 0; }, whole))
            return false;
        // A folder that holds nothing more goes with its attempts; one holding the player's own stays.
        std::error_code ignored;
        std::filesystem::remove(NativePath(type), ignored);
    }
    return whole;
}
