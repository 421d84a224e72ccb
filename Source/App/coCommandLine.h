#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// What the game's command line asks for. Every option is found by the first occurrence of its text
// anywhere in the line, so "/r" is also found inside "/ride".
struct coCommandLine {
    bool mp3 = false;
    bool windowed = false;
    bool skipVideos = false;
    bool cheats[4] = {}; // session flags 0 to 3
    bool tilde = false;
    bool loadPropsNow = false;
    bool perpetual = false;
    bool movieCapture = false;
    f32 movieFrameRate = 0.0f; // 0: not given
    i32 movieShrink = 0;       // 0: not given
    // The resolution preference, or the digit after "/r" less '0' (any value); stored only when 0 to 5.
    i32 resolution = 0;
    bool storeResolution = false;
    // "/ride" with a name between double quotes; without the closing quote there is no ride.
    bool ride = false;
    bool rideUnterminated = false;
    std::string rideName;
};

coCommandLine coParseCommandLine(const std::string& line, i32 resolutionPreference);

// The arguments as one line of the system the options were made for: arguments joined with blanks, one
// that holds a blank, and the one after "/ride", in double quotes.
std::string coJoinArguments(const std::vector<std::string>& arguments);
