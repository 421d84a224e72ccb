#pragma once
#include "Engine/Core/Env/envTypes.h"

// Reference-counted start and stop of the ch package. The first start starts env and dbg (the fs
// and gf starts join when those packages have theirs) and registers "chErrors.tsf" as error package 8.
void chInit();
void chShutdown();
u32 chGetInitCount();

constexpr u32 chErrorPackage = 8;
