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
// whose links have see-through gaps (RGBA).
std::vector<toolDefaultTexture> toolDefaultTextures();
// Writes every default texture and the pictures of the game's own screens under the data folder.
void toolWriteDefaultTextures(const std::string& dataFolder);
