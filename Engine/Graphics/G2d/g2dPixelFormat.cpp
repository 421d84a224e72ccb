#include "Engine/Graphics/G2d/g2dPixelFormat.h"

namespace {

u32 PackChannel(u8 value, u8 shift, u8 bits) {
    return static_cast<u32>(value >> (8 - bits)) << shift;
}

u8 UnpackChannel(u32 texel, u8 shift, u8 bits) {
    return static_cast<u8>(((texel >> shift) & ((1u << bits) - 1)) << (8 - bits));
}

} // namespace

void g2dGetPixelFormat(plD3dFormat d3dFormat, g2dPixelFormat& format) {
    // Shifts and bit counts in the order red, green, blue, alpha.
    switch (d3dFormat) {
    case plD3dFormat::R8G8B8:
        format = {24, 16, 8, 8, 8, 0, 8, 0, 0};
        break;
    case plD3dFormat::A8R8G8B8:
        format = {32, 16, 8, 8, 8, 0, 8, 24, 8};
        break;
    case plD3dFormat::X8R8G8B8:
        format = {32, 16, 8, 8, 8, 0, 8, 0, 0};
        break;
    case plD3dFormat::R5G6B5:
        format = {16, 11, 5, 5, 6, 0, 5, 0, 0};
        break;
    case plD3dFormat::X1R5G5B5:
        format = {16, 10, 5, 5, 5, 0, 5, 0, 0};
        break;
    case plD3dFormat::A1R5G5B5:
        format = {16, 10, 5, 5, 5, 0, 5, 15, 1};
        break;
    case plD3dFormat::A4R4G4B4:
        format = {16, 8, 4, 4, 4, 0, 4, 12, 4};
        break;
    default:
        break;
    }
}

plD3dFormat g2dPixelFormat::ToD3DFormat() const {
    switch (bitsPerPixel) {
    case 16:
        if (alphaBits == 0)
            return greenBits == 5 ? plD3dFormat::X1R5G5B5 : plD3dFormat::R5G6B5;
        return alphaBits == 1 ? plD3dFormat::A1R5G5B5 : plD3dFormat::A4R4G4B4;
    case 24:
        return plD3dFormat::R8G8B8;
    case 32:
        return alphaBits > 0 ? plD3dFormat::A8R8G8B8 : plD3dFormat::X8R8G8B8;
    default:
        return plD3dFormat::Unknown;
    }
}

u32 g2dPixelFormat::PackRGB(const u8 rgb[3]) const {
    return PackChannel(rgb[0], redShift, redBits) | PackChannel(rgb[1], greenShift, greenBits) |
           PackChannel(rgb[2], blueShift, blueBits);
}

u32 g2dPixelFormat::PackRGBA(const u8 rgba[4]) const {
    return PackRGB(rgba) | PackChannel(rgba[3], alphaShift, alphaBits);
}

std::array<u8, 4> g2dPixelFormat::Unpack(u32 texel) const {
    return {UnpackChannel(texel, redShift, redBits), UnpackChannel(texel, greenShift, greenBits),
            UnpackChannel(texel, blueShift, blueBits), UnpackChannel(texel, alphaShift, alphaBits)};
}
