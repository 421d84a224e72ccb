#pragma once
#include "Engine/Core/Env/envTypes.h"

// Events of the media players, with the numbers of their Windows namesakes.
constexpr i32 plMediaEventComplete = 1;
constexpr i32 plMediaEventUserAbort = 2;
