#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// Named preference indices.
inline constexpr int coPrefResolution = 0;             // int: index of the display mode
inline constexpr int coPrefColourDepth = 1;            // int: 16 or 32 bits
inline constexpr int coPrefGamma = 3;                  // float
inline constexpr int coPrefVerticalSync = 30;          // bool
inline constexpr int coPrefTripleBuffering = 31;       // bool
inline constexpr int coPrefDisablePropCollisions = 41; // bool: prop collision checks stay off
inline constexpr int coPrefMetricUnits = 4;            // bool: lengths and speeds shown metric
inline constexpr int coPrefTextureInBuild = 2;         // bool: the world keeps its textures while building
inline constexpr int coPrefDetailDistance = 5;         // float: factor of the detail distance thresholds
inline constexpr int coPrefCrossbarDetail = 7;         // float: above 0.3 thins the crossbars out
inline constexpr int coPrefPropFarClipping = 4;        // float: props farther than x 400 + 80 hide
inline constexpr int coPrefTrackShadows = 39;          // bool: piece shadows shown
inline constexpr int coPrefParticles = 3;              // bool: particle effects shown
// The audio's switches, volumes and remembered music choices.
inline constexpr int coPrefRideMusicOff = 5;       // bool
inline constexpr int coPrefSoundEffectsOff = 6;    // bool
inline constexpr int coPrefInterfaceMuted = 7;     // bool
inline constexpr int coPrefMenuMusicOff = 10;      // bool
inline constexpr int coPrefBuilderMusicOff = 34;   // bool: both building contexts
inline constexpr int coPrefOwnTrackShuffled = 42;  // bool: the builder's own-track playlist
inline constexpr int coPrefBuilderMusicChoice = 2; // int
inline constexpr int coPrefRideMusicVolume = 0;    // float
inline constexpr int coPrefBuilderMusicVolume = 8; // float
inline constexpr int coPrefMenuMusicVolume = 9;    // float
inline constexpr int coPrefInterfaceVolume = 2;    // float
inline constexpr int coPrefBuilderOwnTrack = 0;    // path
inline constexpr int coSessionMp3Music = 4;        // session flag: music files are ".mp3"

inline constexpr u32 coChunkBoolPrefs = chMakeId('B', 'O', 'L', 'P');
inline constexpr u32 coChunkIntPrefs = chMakeId('I', 'N', 'T', 'P');
inline constexpr u32 coChunkFloatPrefs = chMakeId('F', 'L', 'O', 'P');
inline constexpr u32 coChunkPathPrefs = chMakeId('L', 'L', 'O', 'P');

// The player's settings: 43 bools, 3 ints, 12 floats and 1 path saved in "prefs.bin" in the saves
// folder, and 5 session flags that are never saved. Zero until loaded. Indices out of range assert in
// debug builds and read as false / 0 (setters ignore them).
class coPrefs {
  public:
    static constexpr int kBoolCount = 43;
    static constexpr int kIntCount = 3;
    static constexpr int kFloatCount = 12;
    static constexpr int kPathCount = 1;
    static constexpr int kSessionFlagCount = 5;
    static constexpr int kResolutionCount = 6;

    // Reads the file over the defaults. No file: the defaults are made and saved (on its own). A damaged file
    // is renamed "prefs.bin.bad" with a warning, and the settings of the chunks read whole before the damage
    // (over the defaults) are kept and saved. Without a saves folder the defaults are made and
    // fsDirectoryDoesntExistX passes out.
    static void Load();
    // Writes a temporary file beside the old one and puts it in place only when complete.
    static void Save();
    // A save the game makes on its own (a voice-over heard, the music chosen, a file made or replaced
    // by Load): when it fails, the settings hold in memory for the run and the first such failure goes to
    // the reporter, while it is handled.
    static void SaveOnItsOwn();
    // Null: the failure is logged as a warning.
    static void SetSaveFailureReporter(void (*reporter)());
    // Every default, then the workarounds of the display adapter for new settings.
    static void SetDefaults();

    static bool GetBool(int index);
    static void SetBool(int index, bool value);
    static int GetInt(int index);
    static void SetInt(int index, int value);
    static float GetFloat(int index);
    static void SetFloat(int index, float value);
    static const fsLocator& GetPath(int index);
    static void SetPath(int index, const fsLocator& path);
    static u8 GetSessionFlag(int index);
    static void SetSessionFlag(int index, u8 value);

    // Index 1 to 5 of the table; any other index 800 x 600.
    static void GetResolution(int index, int& width, int& height);
    static int GetResolutionCount() { return kResolutionCount; }

    // The sound manager's category volumes from the volume settings.
    static void ApplyVolumes();
    // Root 9's first directory plus "prefs.bin"; fsDirectoryDoesntExistX when root 9 has none.
    static void GetFilePath(fsLocator& out);

    // The display adapter's description, searched for the cards whose faults are worked around.
    static void SetAdapterDescription(const std::string& description);
};

// The size of the menus and of the start-up screen.
void coGetDefaultResolution(int& width, int& height);
