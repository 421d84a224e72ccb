#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>
#include <vector>

// The game's numbered file-system roots, each searched in the order of its directories. Roots 0 to 3
// are the engine's (2, the temporary folder, the game leaves alone).
inline constexpr i32 coRootProgram = 0;    // the program's folder
inline constexpr i32 coRootDisc = 1;       // the installation disc, when there is one
inline constexpr i32 coRootSharedData = 3; // the data folder every user shares
inline constexpr i32 coRootData = 5;
inline constexpr i32 coRootThemes = 6;
inline constexpr i32 coRootTracks = 7;
inline constexpr i32 coRootEnvironments = 8;
inline constexpr i32 coRootSaves = 9;
inline constexpr i32 coRootGui = 10;
inline constexpr i32 coRootText = 11;
inline constexpr i32 coRootEffects = 12;
inline constexpr i32 coRootMissions = 13;
inline constexpr i32 coRootVideo = 14;
inline constexpr i32 coRootMusic = 15;
inline constexpr i32 coRootVoice = 16;
inline constexpr i32 coRootGeom = 17;

// Folders of the saves folder that are not a trackwright's.
inline constexpr const char* coTrackColoursFolder = "Track Color Preference Settings";
inline constexpr const char* coUnlockedPropsFolder = "Directory For Unlocked Props";

// Where the game's data lives: the basic strings (installation words from "basicstr.tsf"), the
// hard-disc data root, the language folder, the saves folder, roots 5 to 17 and the sub-folder lists
// of the theme, coaster-type and environment roots that the menus enumerate.
class coPaths {
  public:
    static constexpr u32 kBasicStringCount = 29;
    static constexpr u32 kRootListCount = 19;

    // Entries 0 to 28 from text set 32 of "basicstr.tsf" in root 0; a missing id is empty, a set without
    // texts (an empty file, or a count of 0) is cut short.
    static void LoadBasicStrings();
    // Unchecked index, 0 to 28.
    static const envString& GetBasicString(u32 index);

    // Registers roots 5 to 17 and fills the sub-folder lists; once, after the basic strings and the
    // engine's roots 0 to 3, before the paks and preferences.
    static void Init();

    // The INI code, else the registry's, mapped to a folder name; "Eng" when it gives none that is
    // one plain folder name.
    static envString GetLanguageFolder();

    // False when neither the saves folder nor the folder used instead can be written: the player was told
    // once, and failed saves go to the log only.
    static bool CanSave();
    // Whether the file lies in the saves root or under one of its folders.
    static bool IsUnderSaves(const fsLocator& file);

    // The sub-folder list of a root (empty for lists that are not kept).
    static void GetRootDirectories(i32 root, std::vector<fsLocator>& out);
    // Lists the sub-folders of the root's directories again (themes, track types, environments).
    static void ListRootDirectories(i32 root);
    // The listed sub-folder whose last component is the name (exact units); otherwise the root's first
    // directory, or, when the root has none, the root's empty rooted locator.
    static fsLocator FindRootDirectory(i32 root, const envString& name);
};

// The whole name is one folder name: not empty, no separator ('/' or '\'), not "." or "..".
bool coIsPlainFolderName(const envString& name);
