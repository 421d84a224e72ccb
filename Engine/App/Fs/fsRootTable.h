#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <functional>
#include <vector>

// The program-wide table of numbered roots, each an ordered list of search directories.
// It starts with five empty roots; roots 0-3 are filled by the start-up services.

constexpr u32 fsStandardRootCount = 5;

// Fills roots 0 to 3 (one directory each) through the installed filler.
void fsInitRootTable(const char* volumeLabel);
// The start-up services install the filler; tests install one that sets their own folders.
using fsRootTableFiller = std::function<void(const char* volumeLabel)>;
void fsSetRootTableFiller(fsRootTableFiller filler);
// Back to five empty roots (tests).
void fsResetRootTable();

// Throws fsInvalidLocatorX for a root or index with no directory.
const fsLocator& fsGetRootDirectory(i32 root, u32 index);
void fsGetRootDirectories(i32 root, std::vector<fsLocator>& out);
// Appends a directory to a root, growing the table; a negative root throws fsInvalidLocatorX.
void fsAddRootDirectory(i32 root, const fsLocator& directory);
// Makes the directory the root's only one, growing the table; a negative root throws fsInvalidLocatorX.
void fsSetRootDirectory(i32 root, const fsLocator& directory);
u32 fsGetRootCount();
