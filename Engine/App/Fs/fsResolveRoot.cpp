#include "Engine/App/Fs/fsResolveRoot.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"

#include <vector>

namespace {

fsLocator InDirectory(const fsLocator& directory, const fsLocator& locator) {
    fsLocator candidate = directory;
    candidate.AppendComponents(locator);
    return candidate;
}

// The first candidate of the locator's root for which `exists` holds, or false.
template <class Test> bool FindInRoot(const fsLocator& locator, Test exists, fsLocator& found) {
    std::vector<fsLocator> candidates;
    fsGetRootCandidates(locator, candidates);
    for (fsLocator& candidate : candidates) {
        if (exists(candidate)) {
            found = std::move(candidate);
            return true;
        }
    }
    return false;
}

} // namespace

void fsGetRootCandidates(const fsLocator& locator, std::vector<fsLocator>& out) {
    std::vector<fsLocator> directories;
    fsGetRootDirectories(locator.GetRoot(), directories);
    out.clear();
    for (const fsLocator& directory : directories) {
        // A directory without components is a root slot left empty (no disc): never the working folder.
        if (directory.GetComponentCount() > 0)
            out.push_back(InDirectory(directory, locator));
    }
}

bool fsFindInRootDirectories(const fsLocator& locator, fsLocator& found) {
    return locator.IsRooted() && FindInRoot(locator, fsFileExists, found);
}

void fsResolveRoot(fsLocator& locator) {
    if (!locator.IsRooted())
        return;
    fsLocator found;
    if (FindInRoot(locator, fsFileExists, found))
        locator = std::move(found);
    else
        fsLocateInFirstRootDirectory(locator);
}

void fsLocateInFirstRootDirectory(fsLocator& locator) {
    if (!locator.IsRooted())
        return;
    std::vector<fsLocator> directories;
    fsGetRootDirectories(locator.GetRoot(), directories);
    if (directories.empty())
        throw fsInvalidLocatorX(locator);
    locator = InDirectory(directories.front(), locator);
}

bool fsRootDirectoryExists(const fsLocator& locator) {
    if (!locator.IsRooted())
        return fsDirectoryExists(locator);
    fsLocator found;
    return FindInRoot(locator, fsDirectoryExists, found);
}
