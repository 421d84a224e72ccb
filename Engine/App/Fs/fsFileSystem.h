#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <functional>
#include <string>
#include <vector>

// File and folder operations on unrooted locators (callers resolve rooted ones first). Failures
// throw the fs exceptions; a locator that gives no native path throws fsInvalidLocatorX.
// Reads (existence, read-only test, copy source, file times) match a component that differs only in
// ASCII case when the exact name is missing; creating, deleting and copy destinations never do.

// Creates an empty file; fsFileExistsX when it exists.
void fsCreateFile(const fsLocator& locator);
void fsDeleteFile(const fsLocator& locator);
// Copies one file, keeping its last-write time (the copy is writable by its owner); fsFileExistsX when
// the destination exists. Errors carry the locator of the side that failed. A half-written destination
// is removed.
void fsCopyFile(const fsLocator& source, const fsLocator& destination);
// Every save: `write` fills a new empty temporary file beside the target (named by the locator it is
// given, a name of its own beside the target, plAtomicFile's) and must have flushed and closed what it opened on it by
// the time it returns. The temporary then reaches the disc and takes the target's name in one step, so
// the target is the old file or the whole new one whenever the program or the machine stops. When
// `write` throws, or the replace fails, the temporary is removed and the target left as it was. Every
// failure names the target, also one that `write` met on the temporary.
void fsWriteFileAtomically(const fsLocator& target,
                           const std::function<void(const fsLocator& temporary)>& write);
// Gives a file or a finished folder its new name in one step; a file of that name is replaced, a folder
// must be empty. Saves use fsWriteFileAtomically instead.
void fsRename(const fsLocator& source, const fsLocator& destination);
// One level; the parent must exist.
void fsCreateDirectory(const fsLocator& locator);
// The folder must be empty (fsDirectoryNotEmptyX).
void fsDeleteDirectory(const fsLocator& locator);
// Creates the destination when missing, then copies every sub-folder and file of the source into it.
// A destination inside the source (or the source itself) throws fsInvalidLocatorX before anything is
// created; linked folders are not followed (they are skipped with a warning).
void fsCopyFileTree(const fsLocator& source, const fsLocator& destination);
// Deletes the folder and everything in it (or the file, or the link, it names); linked folders inside
// go as links, their targets left alone. A missing folder is nothing to do. The first failure throws,
// leaving what was not yet deleted.
void fsDeleteFileTree(const fsLocator& folder);

// The native path for a library that opens the file itself, matched as reads are (a component that differs
// only in ASCII case); the exact path when nothing matches, empty when the locator gives no path.
std::string fsFindFilePath(const fsLocator& locator);

// Never throw: a missing path, or one that gives no native path, is false.
bool fsFileExists(const fsLocator& locator);
bool fsDirectoryExists(const fsLocator& locator);
// Whether a folder can be used or made at the path, taken as named (no case matching): 0 when a folder
// stands there (also through links) or nothing is seen there; ENOTDIR when something else is (a file, or a
// link to one); for a link that leads nowhere, the error of following it (ENOENT when what it names is
// missing, ELOOP when it leads round to itself). Never throws.
int fsFolderPlaceError(const fsLocator& locator);
// Whether files can be made in the folder, taken as named: in the folder when it is there, else in the
// nearest folder above it that is (the missing ones would be made). Never throws.
bool fsCanWriteIn(const fsLocator& folder);
// fsFileDoesntExistX for a missing file or a folder; true when nobody may write the file.
bool fsIsFileReadOnly(const fsLocator& locator);

// Last-write time in whole seconds since 1970-01-01 00:00 counted in local time; 0.0 when it cannot
// be read. A file that cannot be opened throws.
f64 fsGetFileTime(const fsLocator& locator);
// The same time as "MM/DD/YYYY" in local time; empty when it cannot be read.
void fsGetFileTimeText(const fsLocator& locator, envString& out);
// The last-write time as fsGetFileTime gives it and the read-only flag from one look at the file, for
// scans over many files; false for a missing file or a folder.
bool fsGetFileAttributes(const fsLocator& locator, f64& time, bool& readOnly);
// A time as fsGetFileTime gives it, as fsGetFileTimeText writes it.
void fsFileTimeToText(f64 time, envString& out);

// The drives: here the one file-system root, a locator with one empty component.
void fsListDrives(std::vector<fsLocator>& out);
