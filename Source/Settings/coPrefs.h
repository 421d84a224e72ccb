#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// Named preference indices, one name a number in each table.
// Bools.
inline constexpr int coPrefDragOrClick = 0;    // a tool finishes in one click (a drag), else in two
inline constexpr int coPrefToolTips = 1;       // the builder's tool tips shown
inline constexpr int coPrefTextureInBuild = 2; // the world keeps its textures while building
inline constexpr int coPrefParticles = 3;      // particle effects shown
inline constexpr int coPrefMetricUnits = 4;    // lengths and speeds shown metric
inline constexpr int coPrefRideMusicOff = 5;
inline constexpr int coPrefSoundEffectsOff = 6; // the effect bank and the ride event sounds
inline constexpr int coPrefInterfaceMuted = 7;
inline constexpr int coPrefLayeredSky = 8; // the sky's second layer drawn
inline constexpr int coPrefMultitexture = 9;
inline constexpr int coPrefMenuMusicOff = 10;
inline constexpr int coPrefFirstMenuHint = 11;    // 11 to 16: a main-menu button's voice-over to give
inline constexpr int coPrefFirstPaletteHint = 17; // 17 to 27: a main-palette message's voice-over to give
inline constexpr int coPrefAmbientOff = 28;
inline constexpr int coPrefMultitextureLocked = 29; // set for an adapter that cannot multitexture
inline constexpr int coPrefVerticalSync = 30;
inline constexpr int coPrefTripleBuffering = 31;
inline constexpr int coPrefDeepColourOffered = 32; // 32-bit colour may be offered
inline constexpr int coPrefCameraShake = 33;       // the ride camera slides with the car
inline constexpr int coPrefBuilderMusicOff = 34;   // both building contexts
inline constexpr int coPrefVoicesOff = 35;         // no voice-over hints
inline constexpr int coPrefScreamsOff = 36;
inline constexpr int coPrefAllowInversions = 37; // the inverting pieces offered
inline constexpr int coPrefCarShadows = 38;      // with 39, the cavern headlight
inline constexpr int coPrefTrackShadows = 39;    // piece shadows shown; with 38, the cavern headlight
inline constexpr int coPrefLensFlare = 40;
inline constexpr int coPrefDisablePropCollisions = 41; // prop collision checks stay off
inline constexpr int coPrefOwnTrackShuffled = 42;      // the builder's own-track playlist
// Ints.
inline constexpr int coPrefResolution = 0;  // index of the display mode
inline constexpr int coPrefColourDepth = 1; // 16 or 32 bits
inline constexpr int coPrefBuilderMusicChoice = 2;
// Floats.
inline constexpr int coPrefRideMusicVolume = 0;
inline constexpr int coPrefSoundEffectsVolume = 1;
inline constexpr int coPrefInterfaceVolume = 2;
inline constexpr int coPrefGamma = 3;
inline constexpr int coPrefPropFarClipping = 4; // props farther than x 400 + 80 hide
inline constexpr int coPrefDetailDistance = 5;  // factor of the detail distance thresholds
inline constexpr int coPrefAmbientVolume = 6;
inline constexpr int coPrefCrossbarDetail = 7; // above 0.3 thins the crossbars out
inline constexpr int coPrefBuilderMusicVolume = 8;
inline constexpr int coPrefMenuMusicVolume = 9;
inline constexpr int coPrefVoicesVolume = 10;
inline constexpr int coPrefScreamsVolume = 11; // the level each scream starts at
// Paths.
inline constexpr int coPrefBuilderOwnTrack = 0;
// Session flags, set from the command line.
inline constexpr int coSessionCarFlames = 0;    // flames on the cars
inline constexpr int coSessionWoodTextures = 1; // every world texture is the wood one
inline constexpr int coSessionWireframe = 2;    // the ride drawn in wireframe
inline constexpr int coSessionHideTrack = 3;    // the ride without its track
inline constexpr int coSessionMp3Music = 4;     // music files are ".mp3"

inline constexpr u32 coChunkBoolPrefs = chMakeId('B', 'O', 'L', 'P');
inline constexpr u32 coChunkIntPrefs = chMakeId('I', 'N', 'T', 'P');
inline constexpr u32 coChunkFloatPrefs = chMakeId('F', 'L', 'O', 'P');
inline constexpr u32 coChunkPathPrefs = chMakeId('L', 'L', 'O', 'P');

// The player's settings: 43 bools, 3 ints, 12 floats and 1 path saved in "prefs.bin" in the saves
// folder, and 5 session flags that are never saved. Zero until loaded. Indices out of range assert in
// debug builds and read as false / 0 (setters ignore them).
// The preferences' file in the first folder of the saves root.
inline constexpr const char* coPrefsFileName = "prefs.bin";

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
    // The reporter answers whether it showed the failure in a box. Until one did, the failure is held
    // (logged as a warning) for the next failure or TellHeldSaveFailure; a save that works drops it.
    static void SetSaveFailureReporter(bool (*reporter)());
    // Gives a held failure to the reporter again, once the boxes it needs exist.
    static void TellHeldSaveFailure();
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
