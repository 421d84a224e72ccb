#include "Engine/App/Fs/fsFileSystem.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/private/fsPosixPAC.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Os/plAtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when the scope ends, also when an exception passes.
class FileCloser {
  public:
    explicit FileCloser(int fd) : m_fd(fd) {}
    ~FileCloser() { fsCloseFile(m_fd); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

  private:
    int m_fd;
};

void CopyContents(int from, const fsLocator& source, int to, const fsLocator& destination) {
    char buffer[64 * 1024];
    for (u64 position = 0;;) {
        const u32 n = fsReadAt(from, position, sizeof(buffer), buffer, source);
        if (n == 0)
            return;
        fsWriteAt(to, position, n, buffer, destination);
        position += n;
    }
}

// The canonical path that a not yet existing destination would have, or empty when even its parent
// is missing (then creating it fails on its own).
std::string CanonicalDestination(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved))
        return resolved;
    const size_t slash = path.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    if (!realpath(parent.c_str(), resolved))
        return {};
    const std::string base(resolved);
    return (base == "/" ? base : base + "/") + path.substr(slash == std::string::npos ? 0 : slash + 1);
}

bool IsSameOrInside(const std::string& inner, const std::string& outer) {
    if (inner == outer)
        return true;
    const std::string prefix = outer == "/" ? outer : outer + "/";
    return inner.compare(0, prefix.size(), prefix) == 0;
}

void CopyTree(const fsLocator& source, const fsLocator& destination) {
    if (!fsDirectoryExists(destination))
        fsCreateDirectory(destination);
    std::vector<fsDirectoryEntry> entries;
    fsReadDirectory(fsFindNativePath(source), entries); // an unreadable folder copies as empty
    for (const fsDirectoryEntry& entry : entries) {
        if (!entry.isDirectory || entry.name == "." || entry.name == "..")
            continue;
        fsLocator from = source, to = destination;
        fsAppendNativeName(from, entry.name);
        fsAppendNativeName(to, entry.name);
        if (entry.isSymbolicLink)
            DBG_WARNING("linked folder not copied: %s", entry.name.c_str());
        else
            CopyTree(from, to);
    }
    for (const fsDirectoryEntry& entry : entries) {
        if (entry.isDirectory)
            continue;
        fsLocator from = source, to = destination;
        fsAppendNativeName(from, entry.name);
        fsAppendNativeName(to, entry.name);
        fsCopyFile(from, to);
    }
}

void DeleteTree(const fsLocator& folder) {
    std::vector<fsDirectoryEntry> entries;
    fsReadDirectory(fsNativePathOf(folder), entries); // an unreadable folder fails as not empty
    for (const fsDirectoryEntry& entry : entries) {
        if (entry.name == "." || entry.name == "..")
            continue;
        fsLocator inside = folder;
        fsAppendNativeName(inside, entry.name);
        if (entry.isDirectory && !entry.isSymbolicLink)
            DeleteTree(inside);
        else
            fsDeleteFile(inside);
    }
    fsDeleteDirectory(folder);
}

// Seconds since 1970 counted in local time.
f64 LocalSeconds(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local))
        return 0.0;
    return static_cast<f64>(static_cast<i64>(time) + local.tm_gmtoff);
}

void DateText(const std::tm& date, envString& out) {
    char text[32];
    std::snprintf(text, sizeof(text), "%02d/%02d/%d", date.tm_mon + 1, date.tm_mday, date.tm_year + 1900);
    out = text;
}

bool ModificationTime(const fsLocator& locator, std::time_t& time) {
    const int fd = fsOpenExisting(locator, O_RDONLY, fsRemovedDiscWarning);
    FileCloser closer(fd);
    struct stat st;
    if (fstat(fd, &st) != 0)
        return false;
    time = st.st_mtime;
    return true;
}

} // namespace

void fsCreateFile(const fsLocator& locator) {
    const std::string path = fsNativePathOf(locator);
    const int fd = fsCallOpen(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        fsThrowErrno(errno, fsOperation::Create, locator, path);
    fsCloseFile(fd);
}

void fsDeleteFile(const fsLocator& locator) {
    const std::string path = fsNativePathOf(locator);
    if (unlink(path.c_str()) != 0)
        fsThrowErrno(errno, fsOperation::Delete, locator, path);
}

void fsRename(const fsLocator& source, const fsLocator& destination) {
    const std::string from = fsNativePathOf(source);
    const std::string to = fsNativePathOf(destination);
    if (rename(from.c_str(), to.c_str()) == 0)
        return;
    const int error = errno;
    // A missing source is the source's fault; every other failure is the destination's.
    struct stat st;
    if (error == ENOENT && lstat(from.c_str(), &st) != 0)
        fsThrowErrno(error, fsOperation::Open, source, from);
    fsThrowErrno(error, fsOperation::Create, destination, to);
}

std::string fsFindFilePath(const fsLocator& locator) {
    return fsFindNativePath(locator);
}

void fsWriteFileAtomically(const fsLocator& target,
                           const std::function<void(const fsLocator& temporary)>& write) {
    const std::string path = fsNativePathOf(target);
    plAtomicFile file(path);
    if (file.GetError() != 0)
        fsThrowErrno(file.GetError(), fsOperation::Create, target, path);
    fsLocator temporary;
    fsLocatorFromNativePath(file.GetTemporaryPath().c_str(), temporary);
    try {
        write(temporary);
    } catch (fsFileFailureX& failure) {
        // The player knows the file by its own name; the temporary is never seen in the folder.
        if (failure.GetLocator() == temporary)
            failure.SetLocator(target);
        throw;
    }
    // A rename that finds no temporary (or no folder) is a save that failed, never a file of the game
    // that is missing.
    if (const int error = file.Commit(); error == ENOENT || error == ENOTDIR)
        throw fsUnknownX(target, error);
    else if (error != 0)
        fsThrowErrno(error, fsOperation::Create, target, path);
}

void fsCopyFile(const fsLocator& source, const fsLocator& destination) {
    const int from = fsOpenExisting(source, O_RDONLY, fsRemovedDiscWarning);
    FileCloser closeFrom(from);
    struct stat st;
    if (fstat(from, &st) != 0)
        fsThrowErrno(errno, fsOperation::Copy, source, {});

    const std::string path = fsNativePathOf(destination);
    // The copy is its owner's to change, even of a read-only original (saves migrated from a locked
    // installation).
    const int to =
        fsCallOpen(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, (st.st_mode & 0777) | S_IWUSR);
    if (to < 0)
        fsThrowErrno(errno, fsOperation::Copy, destination, path);
    try {
        FileCloser closeTo(to);
        CopyContents(from, source, to, destination);
        const timespec times[2] = {st.st_atim, st.st_mtim};
        futimens(to, times);
    } catch (...) {
        unlink(path.c_str()); // never leave a half-copied file that looks complete
        throw;
    }
}

void fsCreateDirectory(const fsLocator& locator) {
    const std::string path = fsNativePathOf(locator);
    if (mkdir(path.c_str(), 0777) != 0)
        fsThrowErrno(errno, fsOperation::MakeDirectory, locator, path);
}

void fsDeleteDirectory(const fsLocator& locator) {
    const std::string path = fsNativePathOf(locator);
    if (rmdir(path.c_str()) != 0)
        fsThrowErrno(errno, fsOperation::RemoveDirectory, locator, path);
}

void fsCopyFileTree(const fsLocator& source, const fsLocator& destination) {
    char resolved[PATH_MAX];
    const std::string from = fsFindNativePath(source);
    const std::string to = CanonicalDestination(fsNativePathOf(destination));
    if (!from.empty() && realpath(from.c_str(), resolved) && !to.empty() && IsSameOrInside(to, resolved))
        throw fsInvalidLocatorX(destination);
    CopyTree(source, destination);
}

void fsDeleteFileTree(const fsLocator& folder) {
    const std::string path = fsNativePathOf(folder);
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return;
        fsThrowErrno(errno, fsOperation::Delete, folder, path);
    }
    if (S_ISDIR(st.st_mode))
        DeleteTree(folder);
    else
        fsDeleteFile(folder);
}

bool fsFileExists(const fsLocator& locator) {
    struct stat st;
    return fsStatForRead(locator, st) && !S_ISDIR(st.st_mode);
}

bool fsDirectoryExists(const fsLocator& locator) {
    struct stat st;
    return fsStatForRead(locator, st) && S_ISDIR(st.st_mode);
}

int fsFolderPlaceError(const fsLocator& locator) {
    std::string path;
    fsLocatorToNativePath(locator, path);
    struct stat st;
    if (path.empty() || lstat(path.c_str(), &st) != 0)
        return 0;
    if (stat(path.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

bool fsCanWriteIn(const fsLocator& folder) {
    std::string path;
    fsLocatorToNativePath(folder, path);
    while (!path.empty()) {
        struct stat st;
        if (stat(path.c_str(), &st) == 0)
            return S_ISDIR(st.st_mode) && access(path.c_str(), W_OK | X_OK) == 0;
        if (errno != ENOENT)
            return false;
        const size_t slash = path.find_last_of('/');
        path.resize(slash == std::string::npos ? 0 : std::max<size_t>(slash, 1));
    }
    return false;
}

bool fsIsFileReadOnly(const fsLocator& locator) {
    f64 time = 0.0;
    bool readOnly = false;
    if (!fsGetFileAttributes(locator, time, readOnly))
        throw fsFileDoesntExistX(locator);
    return readOnly;
}

f64 fsGetFileTime(const fsLocator& locator) {
    std::time_t time;
    return ModificationTime(locator, time) ? LocalSeconds(time) : 0.0;
}

void fsGetFileTimeText(const fsLocator& locator, envString& out) {
    out.Clear();
    std::time_t time;
    std::tm local{};
    if (ModificationTime(locator, time) && localtime_r(&time, &local))
        DateText(local, out);
}

bool fsGetFileAttributes(const fsLocator& locator, f64& time, bool& readOnly) {
    struct stat st;
    if (!fsStatForRead(locator, st) || S_ISDIR(st.st_mode))
        return false;
    time = LocalSeconds(st.st_mtime);
    readOnly = (st.st_mode & 0222) == 0;
    return true;
}

void fsFileTimeToText(f64 time, envString& out) {
    out.Clear();
    // Also refuses NaN, which no conversion to whole seconds takes.
    if (!(std::fabs(time) < 1e15))
        return;
    // The time already counts local seconds: its calendar date in UTC is the local one.
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm date{};
    if (gmtime_r(&seconds, &date))
        DateText(date, out);
}

void fsListDrives(std::vector<fsLocator>& out) {
    out.clear();
    fsLocator root;
    root.AppendComponent("");
    out.push_back(root);
}
