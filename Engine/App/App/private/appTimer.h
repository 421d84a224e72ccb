#pragma once
#include "Engine/Core/Env/envTypes.h"

// The timer on the platform's high-resolution counter, guarded against forward leaps by the tick count.
void appTimerInit();
// Seconds since appTimerInit.
f64 appTimerGetSeconds();
