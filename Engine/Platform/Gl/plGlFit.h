#pragma once
#include "Engine/Core/Env/envTypes.h"

// A rectangle of the window's drawable, in pixels from its bottom left.
struct plGlRect {
    i32 left = 0;
    i32 bottom = 0;
    i32 width = 0;
    i32 height = 0;
};

// The largest rectangle of the picture's shape that fits the drawable, centred; bars fill the rest.
plGlRect plGlFitCentred(i32 drawableWidth, i32 drawableHeight, u32 pictureWidth, u32 pictureHeight);
