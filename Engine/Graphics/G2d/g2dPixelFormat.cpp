#include "Engine/Graphics/G2d/g2dPixelFormat.h"

#include "Engine/Platform/Graphics/plD3dPixels.h"

namespace {

u32 PackChannel(u8 value, u8 shift, u8 bits) {
    return static_cast<u32>(value >> (8 - bits)) << shift;
}

u8 UnpackChannel(u32 texel, u8 shift, u8 bits) {
    return static_cast<u8>(((texel >> shift) & ((1u << bits) - 1)) << (8 - bits));
}

} // namespace

void g2dGetPixelFormat(plD3dFormat d3dFormat, g2dPixelFormat& format) {
    // The layouts are the device's own, so images and the device agree on every texel.
    plD3dTexelLayout layout;
    if (!plD3dGetTexelLayout(d3dFormat, layout))
        return;
    format = {plD3dBytesPerPixel(d3dFormat) * 8,
              layout.shift[0],
              layout.bits[0],
              layout.shift[1],
              layout.bits[1],
              layout.shift[2],
              layout.bits[2],
              layout.shift[3],
              layout.bits[3]};
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
