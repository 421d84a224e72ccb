#pragma once
#include "Engine/App/Fs/fsLocator.h"

// Reference-counted start and stop of the engine's lower packages it, fs and gf (app has its own in
// appPackage.h). Each first start starts the packages beneath first; each last stop stops them in
// reverse; a stop with nothing started is ignored with a warning. The program entry starts it, fs, gf,
// then app, and stops them in reverse.

void itInit();
void itShutdown();
u32 itGetInitCount();

void fsInit();
void fsShutdown();
u32 fsGetInitCount();

// The first start also starts the error handler with the folder of the error texts (none: kept as it
// was) and fills the default search roots, root 1 with the disc that carries the label (may be null).
void gfInit(const char* label, const fsLocator* errorTextDirectory);
void gfShutdown();
u32 gfGetInitCount();
