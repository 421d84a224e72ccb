#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// What the ride pause dialog edits: filled from the game before each showing, applied after an Ok.
struct coRideSettings {
    u8 frictionOn = 1;
    u8 collisionsOff = 0;
    // Ride camera 0 to 4.
    i32 camera = 0;
    // The car type: the theme folder of the train's models.
    std::string carType;
    // Cars of the train minus one.
    i32 carCountIndex = 0;
    // 0 to 3 the dialog's music context's playlists, 4 the player's own track (musicFile).
    i32 music = 0;
    fsLocator musicFile;
    // The car the ride camera sits in.
    i32 viewCar = 0;
    i32 environment = 0;
    // The fanfare set: a folder of the themes root.
    std::string fanfare;
    // The selected stored scheme; schemeCount while the colours match none.
    i32 colourScheme = 0;
    i32 schemeCount = 0;
    u8 customColours = 0;
};

// The dialog's modes: the builder's options, the career builder's options, the builder's ride request
// and the pause of a running ride.
inline constexpr int coRideDialogBuilder = 0;
inline constexpr int coRideDialogCareerBuilder = 1;
inline constexpr int coRideDialogRideRequest = 2;
inline constexpr int coRideDialogRidePause = 3;
