#pragma once
#include "Tools/Image/toolDefaultTextures.h"

#include <vector>

// The builder's park palettes' pictures: the frame and arrows of the props and dock palettes
// ("Data/GUI/uipp"), the tool box's pictograms for turn, move, animation and delete by the state rule
// ("Data/GUI/uipa"), the animation list's background ("Data/GUI/uisp/uigsbg_i.png"), the default tab, prop
// and dock pictures under "Themes", and Ironvale's own tab, dock and prop icons and previews (128 x 64) in
// "Themes/Ironvale/Icons". The dock icons are white inside, so their tint shows as it is.
std::vector<toolDefaultTexture> toolParkPalettePictures();
