#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// An 8-bit image: rows top first, each pixel RGB (3 channels) or RGBA (4).
struct toolImage {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<u8> pixels;
};

// The image as PNG bytes; a size or channel count that PNG cannot hold throws std::invalid_argument.
std::string toolEncodePng(const toolImage& image);
// Writes the PNG file at the path, replacing any file there only once the new one is complete.
void toolWritePng(const std::string& path, const toolImage& image);
