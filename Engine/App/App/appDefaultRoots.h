#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// The default search roots and the disc finder. Paths are native: UTF-8 with "/" between parts.

// The folder for data that every user of the program shares; out is left as it was when the system
// has none.
void appGetCommonAppDataFolder(std::string& out);
// The mount point of the optical disc whose volume label equals the label ignoring ASCII case, or empty
// when none does; out is left alone when no label is given.
void appFindDriveByLabel(std::string& out, const char* label);
// Appends each non-empty part of the path as a component; an absolute path starts with the empty
// component that stands for "/".
void appSplitPath(const std::string& path, fsLocator& locator);
// Makes roots 0 to 3 hold one directory each: 0 the program's folder, 1 the disc with the label (none:
// an empty directory), 2 the temporary folder, 3 the shared data folder (none: an empty directory).
void appInitDefaultRoots(const char* label);
// Root 1 becomes the disc with the label, or an empty directory when no disc carries it.
void appSetDiscRoot(const char* label);
