#include "Engine/App/App/appDefaultRoots.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "Engine/Platform/plServices.h"

namespace {

bool EqualsIgnoringAsciiCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == 0;
}

fsLocator DirectoryOf(const std::string& path) {
    fsLocator directory;
    appSplitPath(path, directory);
    return directory;
}

} // namespace

void appGetCommonAppDataFolder(std::string& out) {
    std::string folder;
    if (plGetSystemFolders().GetCommonAppDataFolder(folder))
        out = folder;
}

void appFindDriveByLabel(std::string& out, const char* label) {
    if (!label)
        return;
    for (const plVolume& volume : plGetSystemFolders().GetOpticalVolumes()) {
        if (EqualsIgnoringAsciiCase(volume.label, label)) {
            out = volume.mountPoint;
            return;
        }
    }
    out.clear();
}

void appSplitPath(const std::string& path, fsLocator& locator) {
    if (!path.empty() && path.front() == '/')
        locator.AppendComponent("");
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            fsAppendNativeName(locator, path.substr(start, end - start));
        start = end + 1;
    }
}

void appInitDefaultRoots(const char* label) {
    plSystemFolders& folders = plGetSystemFolders();
    fsLocator program = DirectoryOf(folders.GetProgramPath());
    if (program.GetComponentCount() != 0)
        program.RemoveLastComponent();
    fsSetRootDirectory(0, program);
    appSetDiscRoot(label);
    fsSetRootDirectory(2, DirectoryOf(folders.GetTempFolder()));
    std::string shared;
    appGetCommonAppDataFolder(shared);
    fsSetRootDirectory(3, DirectoryOf(shared));
}

void appSetDiscRoot(const char* label) {
    std::string drive;
    appFindDriveByLabel(drive, label);
    fsSetRootDirectory(1, DirectoryOf(drive));
}
