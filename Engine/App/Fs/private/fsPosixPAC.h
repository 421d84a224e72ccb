#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>
#include <sys/types.h>
#include <vector>

// The POSIX calls behind the file system: errno translation, path lookup, opening with the
// removed-medium question, positioned transfers and directory listing.

// What a failing call was doing: some errno values mean different things to different operations. Read is
// opening or reading a file only to read it (a refusal then says the file could not be read); Open is
// opening it to write.
enum class fsOperation { Read, Open, Create, Copy, Delete, MakeDirectory, RemoveDirectory, Transfer };

// Throws the fs exception for `error`. ENOENT names the directory when the parent of `path` is missing.
[[noreturn]] void fsThrowErrno(int error, fsOperation operation, const fsLocator& locator,
                               const std::string& path);

// The native path; throws fsInvalidLocatorX when the locator gives none.
std::string fsNativePathOf(const fsLocator& locator);
// For reads: the native path when it names something, else the existing path that matches it with each
// missing component compared ignoring ASCII case (content names differ in case). When nothing matches,
// the exact path, so that the failing call reports the real error. Empty when the locator gives no path.
std::string fsFindNativePath(const fsLocator& locator);

// True when stat (following links) succeeds on the path found for reading; fills st.
bool fsStatForRead(const fsLocator& locator, struct stat& st);

// Opens an existing regular file (path looked up for reading) with the given open flags, never waiting on a
// pipe. A directory is refused with fsReadOnlyX (EISDIR), anything else that is not a regular file (a pipe, a
// device, a socket) with fsReadOnlyX (fsNotAFileError); the refusals of an open for reading carry
// fsAccess::Read. A medium that is not
// there (ENOMEDIUM, EIO) writes the warning and asks the user through the report hook; OK retries, any other
// answer throws fsUnknownX.
int fsOpenExisting(const fsLocator& locator, int flags, const char* removedWarning);
// The warning of disc files (paks name themselves).
inline constexpr const char* fsRemovedDiscWarning = "CD Removed (fsFileStream)!!!";

// The open call itself, replaceable by tests to inject failures; null restores open(2).
using fsOpenFunction = int (*)(const char* path, int flags, mode_t mode);
void fsSetOpenFunction(fsOpenFunction function);
int fsCallOpen(const char* path, int flags, mode_t mode);

// The positioned write call, replaceable by tests to count writes or inject failures; null restores
// pwrite(2).
using fsWriteFunction = ssize_t (*)(int fd, const void* buffer, size_t count, off_t position);
void fsSetWriteFunction(fsWriteFunction function);

// Transfers at a file position, looping over partial transfers and interruptions. Reading returns the
// bytes read (fewer only at the end of the file); failures throw the translated exception.
u32 fsReadAt(int fd, u64 position, u32 count, void* buffer, const fsLocator& locator);
void fsWriteAt(int fd, u64 position, u32 count, const void* buffer, const fsLocator& locator);
void fsCloseFile(int fd);

struct fsDirectoryEntry {
    std::string name;
    bool isDirectory = false;    // following links, as the enumerations report it
    bool isSymbolicLink = false; // the entry itself is a link
};
// The entries of a directory ("." and ".." included), sorted by name so that enumerations have a
// fixed order; false when the directory cannot be read.
bool fsReadDirectory(const std::string& path, std::vector<fsDirectoryEntry>& out);
