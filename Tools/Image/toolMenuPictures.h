#pragma once
#include "Tools/Image/toolDefaultTextures.h"

// The pictures of the game's own screens: the loading screen's background for each of the six
// resolutions ("Data/GUI/uild/uildbk_0.png" to "uildbk_5.png", each at its screen size), its progress
// bar "uildlb_i.png" (long and high enough for the largest screen) and the window icon "icon.png".
std::vector<toolDefaultTexture> toolMenuPictures();
