#pragma once
#include "Tools/Image/toolPngWriter.h"

#include <string>
#include <vector>

// One texture of the default content: its path under the data folder and its pixels.
struct toolDefaultTexture {
    std::string path;
    toolImage image;
};

// The textures of the default content: the "Steel" type's track sections, RGB but for the chain,
// whose links have see-through gaps (RGBA), and the shadow's fade (RGBA).
std::vector<toolDefaultTexture> toolDefaultTextures();
// The "Wooden" type's textures, named as inside its pak: the support walls' beam lattice (RGBA) and the
// track's rails and deck.
std::vector<toolDefaultTexture> toolWoodenTextures();
// Writes every default texture and the pictures of the game's own screens under the data folder, and the
// "Wooden" type's under its pak's folder.
void toolWriteDefaultTextures(const std::string& dataFolder, const std::string& woodenFolder);
