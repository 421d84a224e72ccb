#include "Source/Career/coProfileFiles.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Settings/coPaths.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr size_t kLongestName = 255;

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

bool IsDotEntry(const fsLocator& entry) {
    const envString& name = entry.GetLastComponent();
    return name == envString(".") || name == envString("..");
}

// Deletes the files and links directly inside a real sub-folder, then the folder when that emptied it.
bool EmptyAndRemove(const fsLocator& folder) {
    std::vector<fsLocator> files, folders;
    fsFileEnum::ListFiles(folder, files);
    fsFileEnum::ListDirectories(folder, folders);
    files.insert(files.end(), folders.begin(), folders.end());
    bool holdsMore = false;
    for (const fsLocator& entry : files) {
        if (IsDotEntry(entry))
            continue;
        const std::filesystem::file_status status = EntryStatus(entry);
        if (std::filesystem::is_symlink(status) || std::filesystem::is_regular_file(status)) {
            if (!Reported(entry, [&] { fsDeleteFile(entry); }))
                return false;
        } else {
            holdsMore = true;
        }
    }
    if (holdsMore) {
        DBG_WARNING("profile folder %s still holds folders or other entries; kept",
                    NativePath(folder).c_str());
        return true;
    }
    return Reported(folder, [&] { fsDeleteDirectory(folder); });
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
    fsLocator save = folder;
    save.AppendComponent(coCareerSaveFileName);
    if (fsFileExists(save) && !Reported(save, [&] { fsDeleteFile(save); }))
        return false;
    std::vector<fsLocator> folders;
    fsFileEnum::ListDirectories(folder, folders);
    for (const fsLocator& entry : folders) {
        if (IsDotEntry(entry))
            continue;
        if (std::filesystem::is_symlink(EntryStatus(entry))) {
            if (!Reported(entry, [&] { fsDeleteFile(entry); }))
                return false;
        } else if (!EmptyAndRemove(entry)) {
            return false;
        }
    }
    return true;
}
