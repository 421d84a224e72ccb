#pragma once
#include "Tools/Image/toolPngWriter.h"

#include <array>
#include <string_view>

class plFontRasterizer;

// How a title is lettered: light letters over a soft shadow cast down and right.
struct toolTitleLook {
    int cell = 0;                  // the font's cell height in pixels
    std::array<float, 3> colour{}; // the letters, 0 to 255 a channel
    int weight = 1;                // strokes thickened by drawing the text this many times a pixel apart
    int shadow = 0;                // the shadow's offset down and right in pixels
    float darkness = 0.0f;         // how much the shadow darkens what lies under it, 0 to 1
};

// Letters the text into the RGB image, centred between the columns left and right with its cell's top at
// row top. Each channel passes through `level` (the nearest byte, or the levels the image is shown in).
// No font to draw with throws std::runtime_error.
void toolLetterTitle(toolImage& image, plFontRasterizer& fonts, std::u16string_view text,
                     const toolTitleLook& look, int left, int right, int top, u8 (*level)(float));
