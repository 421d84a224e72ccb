#pragma once
#include "Engine/App/App/appDefaultRoots.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "Source/Settings/coPaths.h"

#include <string>

// The built installation tree (LV_DATA_DIR) as the program finds it when started from there, the player's
// data in the user folder: roots 0 to 3 from the installed folders, the basic strings and the game's roots.
inline void coStartFromBuiltTree(plTestSystemFolders& folders, const std::string& userFolder) {
    folders.programPath = LV_DATA_DIR "/loopvane";
    folders.commonAppDataFolder = userFolder;
    appInitDefaultRoots("LOOPVANE");
    coPaths::LoadBasicStrings();
    coPaths::Init();
}

// The locator of a path in the built tree ("Data/GUI/gui.pak").
inline fsLocator coBuiltTreeLocator(const std::string& relative) {
    fsLocator locator;
    fsLocatorFromNativePath((std::string(LV_DATA_DIR) + "/" + relative).c_str(), locator);
    return locator;
}
