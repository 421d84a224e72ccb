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

// The window as the pointer sees it: its size in SDL's window units, its drawable in pixels (larger on
// high-density displays) and the back buffer that Present fits into the drawable.
struct plGlView {
    i32 windowWidth = 0;
    i32 windowHeight = 0;
    i32 drawableWidth = 0;
    i32 drawableHeight = 0;
    u32 pictureWidth = 0;
    u32 pictureHeight = 0;
};

// A window point as a back-buffer pixel, with the scale and offset Present uses, and back; points in
// the bars lie outside the back buffer. Both give (0, 0) while nothing is shown.
void plGlWindowToPicture(const plGlView& view, i32 windowX, i32 windowY, i32& x, i32& y);
void plGlPictureToWindow(const plGlView& view, i32 x, i32 y, i32& windowX, i32& windowY);

// The limits OpenGL puts on a viewport: its largest size and the range its corners may lie in.
struct plGlViewportLimits {
    i32 maxWidth = 0;
    i32 maxHeight = 0;
    i32 boundsMin = 0;
    i32 boundsMax = 0;
};

// The largest odd factor, at most maxFactor, by which the viewport can grow about its centre without
// OpenGL clamping it. Drawn through the grown viewport with the projection shrunk by as much, each
// vertex lands on the same pixel, and only what reaches past the grown view still needs clipping.
i32 plGlGuardFactor(const plGlRect& view, const plGlViewportLimits& limits, i32 maxFactor);
