#pragma once
#include "Engine/Core/Env/envTypes.h"

// Reference-counted start and stop of the input package; the first start starts env and dbg
// (the app, it and device starts join when those packages exist).
void inInit();
void inShutdown();
u32 inGetInitCount();
