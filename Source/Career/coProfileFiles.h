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
// Starts an existing profile afresh, deleting only the game's own files: the career save and the mission
// attempts of each career folder (named as a mission folder), with their damaged copies and stopped saves'
// temporaries; a career folder left empty goes. The player's other files and folders stay, and no link is
// followed: a link (or other non-file) under a name of the game's stays and is told, and a profile folder
// that is a link is removed as a link (never what it leads to) and made afresh (logged). False at the
// first delete that fails, or when something was told not restarted.
bool coRestartProfile(const envString& name);
