#pragma once
#include "Tools/Image/toolDefaultTextures.h"

#include <vector>

// The builder palettes' pictures: the top bar's button faces "Data/GUI/uimp/uimpbn_{i,o,p,d}.png", name
// background and feedback box; the ride gauges' bar fills "Data/GUI/uisp/uisppbsi.png" (speed, climb,
// time) and "uisppbgi.png" (G), 64 x 16 so a half-full bar shows 32 columns; the objectives panel's
// backdrop "Data/GUI/uishbk_i.png", drawn in its top 176 rows, and its tab "Data/GUI/uiopmn_{i,o,p}.png"; the
// track palette's pictograms "Data/GUI/uitm/uitm<code>_<state>.png" in the idle, over, pressed and disabled
// looks: 32 x 32 for its script's buttons, an element's add ("<code>a") and remove ("<code>r") carrying a
// plus or minus badge; 64 x 64 for the placers, drawn in their top-left 40 x 40.
std::vector<toolDefaultTexture> toolBuilderPalettePictures();
