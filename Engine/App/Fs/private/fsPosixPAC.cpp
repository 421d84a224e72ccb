#include "Engine/App/Fs/private/fsPosixPAC.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envUtf.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// The removed-disc question: a question with OK and Cancel, fs package, error 9; OK means retry.
constexpr u32 kReportQuestion = 1;
constexpr u32 kFsPackage = 4;
constexpr u32 kRemovedDiscError = 9;
constexpr u32 kAnswerOk = 3;

fsOpenFunction g_open = nullptr;
fsWriteFunction g_write = nullptr;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ParentExists(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return true; // relative to the working folder
    return IsDirectory(slash == 0 ? std::string("/") : path.substr(0, slash));
}

std::string Join(const std::string& base, const std::string& name, bool absolute) {
    if (base.empty())
        return absolute ? "/" + name : name;
    return base.back() == '/' ? base + name : base + "/" + name;
}

std::string LowerAscii(std::string text) {
    envLowerAscii(text);
    return text;
}

// The names of the folder read last for a name in another case, each under its ASCII lower case (the
// first in byte order of those that differ only in case): a playlist of thousands of missing entries
// asks one folder again and again. The folder's modification time moves when an entry comes, goes or is
// renamed; since file systems keep it coarsely (to the clock's tick, or to two seconds), a listing is
// kept only when the folder was last changed more than two seconds before it was read.
struct FolderNames {
    std::string folder;
    dev_t device = 0;
    ino_t inode = 0;
    timespec changed{};
    std::unordered_map<std::string, std::string> byLowerCase;

    bool Holds(const std::string& path, const struct stat& now) const {
        return folder == path && device == now.st_dev && inode == now.st_ino &&
               changed.tv_sec == now.st_mtim.tv_sec && changed.tv_nsec == now.st_mtim.tv_nsec;
    }
};

bool ChangedLately(const struct stat& folder) {
    constexpr time_t kCoarsestTime = 2;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - folder.st_mtim.tv_sec <= kCoarsestTime;
}

// The name in the folder that equals `name` ignoring ASCII case, the first in byte order; empty if none.
std::string FindIgnoringCase(const std::string& folder, const std::string& name) {
    static std::mutex guard;
    static FolderNames last;
    struct stat now;
    if (stat(folder.c_str(), &now) != 0)
        return {};
    const std::lock_guard lock(guard);
    if (!last.Holds(folder, now)) {
        last = {};
        DirHandle dir(opendir(folder.c_str()));
        if (!dir)
            return {};
        while (const dirent* entry = readdir(dir.get())) {
            const auto [at, added] = last.byLowerCase.try_emplace(LowerAscii(entry->d_name), entry->d_name);
            if (!added && at->second > entry->d_name)
                at->second = entry->d_name;
        }
        if (!ChangedLately(now)) {
            last.folder = folder;
            last.device = now.st_dev;
            last.inode = now.st_ino;
            last.changed = now.st_mtim;
        }
    }
    const auto found = last.byLowerCase.find(LowerAscii(name));
    return found == last.byLowerCase.end() ? std::string() : found->second;
}

} // namespace

[[noreturn]] void fsThrowErrno(int error, fsOperation operation, const fsLocator& locator,
                               const std::string& path) {
    switch (error) {
    case ENOENT:
        if (ParentExists(path))
            throw fsFileDoesntExistX(locator, error);
        throw fsDirectoryDoesntExistX(locator, error);
    case ENOTDIR:
        throw fsDirectoryDoesntExistX(locator, error);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        throw fsReadOnlyX(locator, error, operation == fsOperation::Read ? fsAccess::Read : fsAccess::Write);
    case EEXIST:
        if (operation == fsOperation::Create || operation == fsOperation::Copy)
            throw fsFileExistsX(locator, error);
        if (operation == fsOperation::RemoveDirectory)
            throw fsDirectoryNotEmptyX(locator, error); // POSIX lets rmdir say EEXIST for a non-empty folder
        throw fsUnknownX(locator, error);
    case ENOTEMPTY:
        throw fsDirectoryNotEmptyX(locator, error);
    case EBUSY:
    case ETXTBSY:
        throw fsFileInUseX(locator, error);
    case ENAMETOOLONG:
    case EINVAL:
        throw fsInvalidLocatorX(locator, error);
    default:
        throw fsUnknownX(locator, error);
    }
}

std::string fsNativePathOf(const fsLocator& locator) {
    std::string path;
    fsLocatorToNativePath(locator, path);
    if (path.empty())
        throw fsInvalidLocatorX(locator);
    return path;
}

std::string fsFindNativePath(const fsLocator& locator) {
    std::string exact;
    fsLocatorToNativePath(locator, exact);
    struct stat st;
    if (exact.empty() || lstat(exact.c_str(), &st) == 0)
        return exact;

    // Walk the components; the first one missing in every case ends the walk with the rest as given,
    // so that the failing call still sees which part is missing.
    const bool absolute = exact[0] == '/';
    std::string found;
    size_t start = absolute ? 1 : 0;
    bool matching = true;
    while (start <= exact.size()) {
        size_t end = exact.find('/', start);
        if (end == std::string::npos)
            end = exact.size();
        const std::string name = exact.substr(start, end - start);
        std::string candidate = Join(found, name, absolute);
        if (matching && !name.empty() && lstat(candidate.c_str(), &st) != 0) {
            const std::string folder = found.empty() ? (absolute ? "/" : ".") : found;
            const std::string match = FindIgnoringCase(folder, name);
            if (match.empty())
                matching = false;
            else
                candidate = Join(found, match, absolute);
        }
        found = candidate;
        start = end + 1;
    }
    return found;
}

bool fsStatForRead(const fsLocator& locator, struct stat& st) {
    const std::string path = fsFindNativePath(locator);
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

int fsOpenExisting(const fsLocator& locator, int flags, const char* removedWarning) {
    const bool reading = (flags & O_ACCMODE) == O_RDONLY;
    for (;;) {
        const std::string path = fsFindNativePath(locator);
        if (path.empty())
            throw fsInvalidLocatorX(locator);
        // Without O_NONBLOCK a pipe put in place of the file would hold the open until a writer came.
        const int fd = fsCallOpen(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0);
        const int error = errno; // before any other call can change it
        if (fd >= 0) {
            struct stat st;
            const bool stated = fstat(fd, &st) == 0;
            if (stated && S_ISREG(st.st_mode))
                return fd;
            const int refusal = !stated ? errno : S_ISDIR(st.st_mode) ? EISDIR : fsNotAFileError;
            close(fd);
            // Linux opens folders for reading (and only for reading); a file open must not, nor a pipe's
            // or a device's, whose reads may never end.
            throw fsReadOnlyX(locator, refusal, reading ? fsAccess::Read : fsAccess::Write);
        }
        if (error == ENXIO) // a pipe opened for writing without a reader
            throw fsReadOnlyX(locator, fsNotAFileError, reading ? fsAccess::Read : fsAccess::Write);
        if (error != ENOMEDIUM && error != EIO)
            fsThrowErrno(error, reading ? fsOperation::Read : fsOperation::Open, locator, path);
        dbgWarning(__FILE__, __LINE__, "%s", removedWarning);
        if (envReportError(kReportQuestion, kFsPackage, kRemovedDiscError, nullptr) != kAnswerOk)
            throw fsUnknownX(locator);
    }
}

void fsSetOpenFunction(fsOpenFunction function) {
    g_open = function;
}

void fsSetWriteFunction(fsWriteFunction function) {
    g_write = function;
}

int fsCallOpen(const char* path, int flags, mode_t mode) {
    return g_open ? g_open(path, flags, mode) : open(path, flags, mode);
}

u32 fsReadAt(int fd, u64 position, u32 count, void* buffer, const fsLocator& locator) {
    u32 done = 0;
    while (done < count) {
        const ssize_t n =
            pread(fd, static_cast<char*>(buffer) + done, count - done, static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fsThrowErrno(errno, fsOperation::Read, locator, {});
        if (n == 0)
            break;
        done += static_cast<u32>(n);
    }
    return done;
}

void fsWriteAt(int fd, u64 position, u32 count, const void* buffer, const fsLocator& locator) {
    u32 done = 0;
    while (done < count) {
        const ssize_t n = (g_write ? g_write : pwrite)(fd, static_cast<const char*>(buffer) + done,
                                                       count - done, static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fsThrowErrno(errno, fsOperation::Transfer, locator, {});
        if (n == 0)
            throw fsUnknownX(locator, ENOSPC); // no progress: the medium is full
        done += static_cast<u32>(n);
    }
}

void fsCloseFile(int fd) {
    close(fd);
}

bool fsReadDirectory(const std::string& path, std::vector<fsDirectoryEntry>& out) {
    out.clear();
    DirHandle dir(opendir(path.c_str()));
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir.get())) {
        fsDirectoryEntry item;
        item.name = entry->d_name;
        const std::string full = Join(path, item.name, false);
        item.isSymbolicLink = entry->d_type == DT_LNK;
        item.isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st;
            item.isSymbolicLink = lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
        }
        if (item.isSymbolicLink || entry->d_type == DT_UNKNOWN)
            item.isDirectory = IsDirectory(full);
        out.push_back(std::move(item));
    }
    std::sort(out.begin(), out.end(),
              [](const fsDirectoryEntry& a, const fsDirectoryEntry& b) { return a.name < b.name; });
    return true;
}
