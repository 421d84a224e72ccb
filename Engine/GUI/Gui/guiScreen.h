#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"

// The GUI screen: the logical size in GUI pixels (x right, y down from the top-left corner) in which
// every window is laid out, 800 x 600 at start, and the conversions to normalised device coordinates
// and to the real screen's pixels.

// Sizes below 1 are refused with a warning: every conversion divides by them.
void guiSetScreenSize(i32 width, i32 height);
void guiGetScreenSize(i32& width, i32& height);

// (x, y, draw stamp) to device coordinates: positions shifted by half a pixel, the stamp to the depth
// 1 - 1 / (stamp + 1), so the first window drawn is in front.
maVector3d guiPixelsToDevice(const maVector3d& pixels);
maVector2d guiPixelsToDevice2d(const maVector2d& pixels);
// A window's world matrix with its translation converted to device coordinates; the rotation and
// scale are already in device units.
maMatrix4d guiComposeMatrix(const maMatrix4d& world);

// Between real screen pixels and GUI pixels; on a screen of no size the point is returned unchanged.
maVector2d guiScreenToGui(const maVector2d& screen);
maVector2d guiGuiToScreen(const maVector2d& gui);
