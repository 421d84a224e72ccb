#pragma once
#include "Engine/Core/Env/envTypes.h"

// Starts the application time at 0 (the app package's start calls it).
void appInitTime();
// Seconds since the application time started.
f64 appGetTime();

// The frame clock: each frame's step of application time, scaled and clamped to [0, 1] s, summed into
// the game time. Scale 0 (modal loops, regaining the focus) keeps the clock current without moving the
// game time. The first tick measures from application time 0.
class appClock {
  public:
    static void Tick(f32 scale);
    static f32 GetDeltaTime();
    static f32 GetTime();
    // Sets the game time to time + step and the frame step to step (stored or captured frames).
    static void SetTime(f32 time, f32 step);
};
