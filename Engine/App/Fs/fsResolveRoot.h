#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <vector>

// Turning a rooted locator into a path on disc. A root without directories (or beyond the table)
// throws fsInvalidLocatorX: there is no first directory to fall back on.

// Unrooted locators are left alone. A rooted one becomes the first directory of its root in which the
// file exists, followed by its components; when none holds it, the root's first directory. The result
// is unrooted (the directory's own root).
void fsResolveRoot(fsLocator& locator);
// For a rooted locator: the first directory of its root holding the file, followed by its components.
bool fsFindInRootDirectories(const fsLocator& locator, fsLocator& found);
// A rooted locator becomes the root's first directory followed by its components, without a test.
void fsLocateInFirstRootDirectory(fsLocator& locator);
// The paths a rooted locator may stand for, in search order: each directory of its root followed by
// its components. A root slot left empty (no disc) gives none, never the working folder.
void fsGetRootCandidates(const fsLocator& locator, std::vector<fsLocator>& out);
// Whether the folder exists in any directory of its root (as given when unrooted); paks are not asked.
bool fsRootDirectoryExists(const fsLocator& locator);
