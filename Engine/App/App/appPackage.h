#pragma once
#include "Engine/Core/Env/envTypes.h"

// Reference-counted start and stop of the app package. The first start starts env and dbg, the
// application time and the text-call choice; the last stop stops dbg and env. A stop with nothing
// started is ignored with a warning.
void appInit();
void appShutdown();
u32 appGetInitCount();
