#include "Engine/App/Fs/fsFileEnum.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/private/fsPosixPAC.h"

#include <cerrno>

namespace {

bool Enumerate(const fsLocator& directory, fsFileEnum::EnumTarget& target, bool folders,
               const envString* filter) {
    std::vector<fsDirectoryEntry> entries;
    const std::string path = fsFindNativePath(directory);
    if (path.empty())
        return true;
    if (!fsReadDirectory(path, entries)) {
        if (errno != ENOENT && errno != ENOTDIR)
            target.OnUnreadable(directory);
        return true;
    }
    for (const fsDirectoryEntry& item : entries) {
        if (item.isDirectory != folders)
            continue;
        fsLocator entry;
        fsAppendNativeName(entry, item.name);
        if (filter && !entry.GetComponent(0).Contains(*filter))
            continue;
        if (!target.OnEntry(directory, entry))
            return false;
    }
    return true;
}

template <class Run> bool InEveryRootDirectory(const fsLocator& locator, Run run) {
    if (!locator.IsRooted())
        return run(locator);
    std::vector<fsLocator> candidates;
    fsGetRootCandidates(locator, candidates);
    for (const fsLocator& candidate : candidates)
        if (!run(candidate))
            return false;
    return true;
}

bool List(const fsLocator& directory, std::vector<fsLocator>& out, bool folders, const envString* filter) {
    fsFileEnum::FileListTarget target;
    if (!Enumerate(directory, target, folders, filter))
        return false;
    out = std::move(target.GetList());
    return true;
}

} // namespace

namespace fsFileEnum {

bool FileListTarget::OnEntry(const fsLocator& directory, const fsLocator& entry) {
    fsLocator item = directory;
    item.AppendComponents(entry);
    m_list.push_back(std::move(item));
    return true;
}

bool EnumerateFiles(const fsLocator& directory, EnumTarget& target, const envString* filter) {
    return Enumerate(directory, target, false, filter);
}

bool ListFiles(const fsLocator& directory, std::vector<fsLocator>& out, const envString* filter) {
    return List(directory, out, false, filter);
}

bool ListDirectories(const fsLocator& directory, std::vector<fsLocator>& out) {
    return List(directory, out, true, nullptr);
}

} // namespace fsFileEnum

bool fsEnumerateSubdirectories(const fsLocator& directory, fsFileEnum::EnumTarget& target) {
    return Enumerate(directory, target, true, nullptr);
}

bool fsEnumerateFiles(const fsLocator& locator, fsFileEnum::EnumTarget& target, const envString* filter) {
    return InEveryRootDirectory(
        locator, [&](const fsLocator& directory) { return Enumerate(directory, target, false, filter); });
}

bool fsEnumerateDirectories(const fsLocator& locator, fsFileEnum::EnumTarget& target) {
    return InEveryRootDirectory(
        locator, [&](const fsLocator& directory) { return Enumerate(directory, target, true, nullptr); });
}
