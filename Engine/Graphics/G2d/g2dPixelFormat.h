#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"

#include <array>

// A texel layout: its size and, per channel, where it sits and how many bits it has. All zero is
// "unknown".
struct g2dPixelFormat {
    u32 bitsPerPixel = 0;
    u8 redShift = 0;
    u8 redBits = 0;
    u8 greenShift = 0;
    u8 greenBits = 0;
    u8 blueShift = 0;
    u8 blueBits = 0;
    u8 alphaShift = 0;
    u8 alphaBits = 0;

    // The device format of this layout, Unknown for sizes other than 16, 24 and 32 bits.
    plD3dFormat ToD3DFormat() const;
    // Each 8-bit channel keeps its top bits; PackRGB sets no alpha bits.
    u32 PackRGB(const u8 rgb[3]) const;
    u32 PackRGBA(const u8 rgba[4]) const;
    // Red, green, blue, alpha, each moved back to the top of its byte (alpha 0 without alpha bits).
    std::array<u8, 4> Unpack(u32 texel) const;

    bool operator==(const g2dPixelFormat&) const = default;
};

// Fills the layout of the seven texel formats the engine knows; any other leaves it as it was.
void g2dGetPixelFormat(plD3dFormat d3dFormat, g2dPixelFormat& format);
