#pragma once
#include "Tools/Image/toolDefaultTextures.h"

#include <string>
#include <vector>

// The GUI toolkit's default skin under "Data/GUI": a bevelled button per state ("button" with "_i", "_o",
// "_p", "_d"), a frame, a highlight and a badge whose alpha falls off softly at its edge (RGBA).
std::vector<toolDefaultTexture> toolGuiSkin();
// Writes every skin image under the data folder.
void toolWriteGuiSkin(const std::string& dataFolder);
