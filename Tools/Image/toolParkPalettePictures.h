#pragma once
#include "Tools/Image/toolDefaultTextures.h"

#include <vector>

// The builder's park palettes' pictures: the frame and arrows of the props and dock palettes
// ("Data/GUI/uipp"), the tool box's pictograms for turn, move, animation and delete by the state rule
// ("Data/GUI/uipa"), the animation list's background ("Data/GUI/uisp/uigsbg_i.png"), the default tab, prop
// and dock pictures under "Themes" and Ironvale's own tab in "Themes/Ironvale/Icons". The default dock icon
// is white inside, so its tint shows as it is. The props' and docks' own icons are drawn from their models
// by the icon generator.
std::vector<toolDefaultTexture> toolParkPalettePictures();
