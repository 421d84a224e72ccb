#pragma once
#include "Engine/Core/Env/envTypes.h"

// The picture with a progress bar that the game draws and presents itself, outside the GUI, while it
// loads. The bar is laid out for 800 x 600 (181 x 14 at 332, 547) and scaled to the screen; it grows by
// one step a show and starts again after 181.

// Draws and presents one frame, advancing the bar; restart first sets it back to nothing.
void coLoadingScreenShow(bool restart);
// The same with the bar at its full length; the bar's progress is kept.
void coLoadingScreenStep();
// Sets the bar back and frees the pictures; the next show loads them again.
void coLoadingScreenHide();

// The background's name for the resolution preference: "uildbk_" and its digit, 0 for a value that
// names no resolution.
void coLoadingBackgroundName(i32 resolution, char (&name)[13]);
