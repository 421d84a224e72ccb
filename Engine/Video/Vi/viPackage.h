#pragma once
#include "Engine/Core/Env/envTypes.h"

// The error text package of video.
constexpr u32 viErrorPackage = 23;

// Reference-counted start and stop of the video package: the first start starts env and dbg and
// registers "viErrors.tsf"; the last stop stops them.
void viInit();
void viShutdown();
u32 viGetInitCount();
