#pragma once
#include "Engine/Core/Env/envTypes.h"

struct SDL_Window;

// What the X server itself shows of the window, apart from what OpenGL holds. Kept out of the tests'
// sources, since the X headers' macros clash with theirs.

// Waits (up to two seconds) until the server has mapped the window: what is drawn into a window not yet
// mapped is lost, and its image cannot be read. False when it never is.
bool plWaitViewable(SDL_Window* window);
// The pixel as 0xRRGGBB; 0xFFFFFFFF when it cannot be read.
u32 plShownPixel(SDL_Window* window, int x, int y);
// The window's picture wiped by the server, as when it is uncovered.
void plLoseShownPicture(SDL_Window* window);
