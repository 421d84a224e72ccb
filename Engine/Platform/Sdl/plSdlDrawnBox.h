#pragma once
#include "Engine/Platform/Window/plMessageBoxPicture.h"

#include <string>

struct SDL_Window;

// Shows the picture in a window of its own, over the owner when there is one, until it is answered:
// Enter gives `enterAnswer`, Escape, closing the window or a termination signal `closeAnswer`, a click
// on a button that button's id. Only the box takes input meanwhile, as a modal box's owner is disabled.
// -1 when no window can be opened.
i32 plShowDrawnBox(const plMessageBoxPicture& picture, const std::string& captionUtf8, SDL_Window* owner,
                   i32 enterAnswer, i32 closeAnswer);
