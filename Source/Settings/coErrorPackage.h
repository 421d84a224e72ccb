#pragma once
#include "Engine/Core/Env/envTypes.h"

// The package the game's own error texts ("coErrors.tsf") are registered and reported under.
inline constexpr u32 coErrorPackage = 32;
