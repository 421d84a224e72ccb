#pragma once
#include "Engine/Core/Env/envTypes.h"

// Reference-counted start and stop of the 2D screen package. The first start starts env, dbg, it and
// app, the fonts (their reset handler), the screen (display modes, debug lines) and registers
// "g2dErrors.tsf" as error package 10; it throws g2dScreenInitX, with nothing left started, when there
// is no 3D at all. The last stop stops the screen (every reset handler is deleted), the fonts (every
// font deleted) and the packages beneath.
void g2dInitialize();
void g2dShutdown();
u32 g2dGetInitCount();
