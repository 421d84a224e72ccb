#pragma once
#include "Engine/Core/Env/envTypes.h"

// The program's one random sequence: a linear congruential generator (state * 214013 + 2531011) giving
// 15-bit draws. One state serves every caller; the application seeds it once at start.
void maRandomSeed(u32 seed);
// The next draw, 0..32767.
u32 maRandomInt();
// A float between min and max, both reachable; min may exceed max.
float maRandomFloat(float min, float max);
