#pragma once
#include "Engine/Core/Env/envTypes.h"

// Reference-counted start and stop of the input package. The first start starts env, dbg, app and it,
// then the input devices (after the window exists); the last stop stops the devices, then it, app, dbg
// and env. A device start that throws leaves the package counted as started with the devices made so
// far, so the matching stop still releases them.
void inInit();
void inShutdown();
u32 inGetInitCount();
