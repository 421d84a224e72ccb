#pragma once
#include "Engine/Core/Env/envString.h"

// The file side of the profile selection: each profile (Trackwright) is a folder of the saves root named
// after it, holding its career save and one sub-folder per track type with its mission attempts. Failures
// are reported to the player through the error handler and answered with false, so the menu stays.

// Whether a typed name can be a profile: one folder name of at most 255 bytes, not empty, "." or "..",
// with no separator and no control character.
bool coIsValidProfileName(const envString& name);
// Whether the profile's folder exists in any directory of the saves root; names are compared exactly.
bool coProfileExists(const envString& name);
// Creates the profile's folder in the saves root's first directory.
bool coCreateProfile(const envString& name);
// Starts an existing profile afresh: its career save is deleted and every sub-folder is emptied of its files
// and removed. A linked sub-folder goes as a link, its target untouched; inside a sub-folder only files and
// links are deleted, so one still holding a folder stays (warned). False at the first delete that fails.
bool coRestartProfile(const envString& name);
