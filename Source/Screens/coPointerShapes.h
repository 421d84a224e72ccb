#pragma once
#include "Engine/Core/Env/envTypes.h"

// The game's pointer shapes: the cursor ids the GUI pointer's pictures are set under.
inline constexpr i32 coPointerArrow = 0;
inline constexpr i32 coPointerWait = 5;
