#pragma once
#include "Engine/Core/Env/envTypes.h"

// Code that draws with a context it did not make (the movie sink on the device's context) counts its
// use here; the 3D device sees the count change and sends its whole state again before it draws.
void plGlCountForeignUse();
u32 plGlGetForeignUseCount();
