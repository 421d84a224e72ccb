#pragma once
#include "Engine/Core/Env/envTypes.h"

// The error text package of video.
constexpr u32 viErrorPackage = 23;

// Reference-counted start and stop of the video package: the first start starts env and dbg and
// registers "viErrors.tsf"; the last stop stops them.
void viInit();
void viShutdown();
u32 viGetInitCount();

// Two further start and stop pairs of the package, nested in the rendering start-up: each keeps a
// count of its own, and its first start and last stop only start and stop dbg.
void viInitLevel1();
void viShutdownLevel1();
u32 viGetLevel1Count();
void viInitLevel2();
void viShutdownLevel2();
u32 viGetLevel2Count();
