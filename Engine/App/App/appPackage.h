#pragma once
#include "Engine/Core/Env/envTypes.h"

// Reference-counted start and stop of the app package. The first start starts env, dbg and it, the
// application time and the text-call choice, and registers the app error texts ("appErrors.tsf", package
// 5); the last stop stops it, dbg and env. A stop with nothing started is ignored with a warning.
void appInit();
void appShutdown();
u32 appGetInitCount();
