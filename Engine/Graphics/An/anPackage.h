#pragma once
#include "Engine/Core/Env/envTypes.h"

constexpr u32 anErrorPackage = 9;

// Reference-counted start and stop of the animation package: the first start starts env and dbg and
// registers "anErrors.tsf"; the last stop stops them.
void anInitialize();
void anShutdown();
u32 anGetInitCount();
