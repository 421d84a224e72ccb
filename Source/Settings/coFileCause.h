#pragma once
#include "Engine/Core/Env/envTypes.h"

// Why a file or folder could not be used, in the game's own words: the number of one of the game's error
// texts (coErrorPackage) for the system's error number, never the system's own words.
u32 coFileCauseText(int error);
