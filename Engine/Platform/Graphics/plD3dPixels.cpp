#include "Engine/Platform/Graphics/plD3dPixels.h"

#include <cstring>

namespace {

u32 Widen(u32 value, u32 bits) {
    u32 wide = value << (8 - bits);
    for (u32 filled = bits; filled < 8; filled += bits)
        wide |= wide >> filled;
    return wide & 0xFF;
}

} // namespace

bool plD3dGetTexelLayout(plD3dFormat format, plD3dTexelLayout& layout) {
    switch (format) {
    case plD3dFormat::R8G8B8:
    case plD3dFormat::X8R8G8B8:
        layout = {{16, 8, 0, 0}, {8, 8, 8, 0}};
        return true;
    case plD3dFormat::A8R8G8B8:
        layout = {{16, 8, 0, 24}, {8, 8, 8, 8}};
        return true;
    case plD3dFormat::R5G6B5:
        layout = {{11, 5, 0, 0}, {5, 6, 5, 0}};
        return true;
    case plD3dFormat::X1R5G5B5:
        layout = {{10, 5, 0, 0}, {5, 5, 5, 0}};
        return true;
    case plD3dFormat::A1R5G5B5:
        layout = {{10, 5, 0, 15}, {5, 5, 5, 1}};
        return true;
    case plD3dFormat::A4R4G4B4:
        layout = {{8, 4, 0, 12}, {4, 4, 4, 4}};
        return true;
    default:
        return false;
    }
}

u32 plD3dBytesPerPixel(plD3dFormat format) {
    switch (format) {
    case plD3dFormat::R8G8B8:
        return 3;
    case plD3dFormat::A8R8G8B8:
    case plD3dFormat::X8R8G8B8:
        return 4;
    case plD3dFormat::R5G6B5:
    case plD3dFormat::X1R5G5B5:
    case plD3dFormat::A1R5G5B5:
    case plD3dFormat::A4R4G4B4:
        return 2;
    default:
        return 0;
    }
}

bool plD3dIsColorFormat(plD3dFormat format) {
    return plD3dBytesPerPixel(format) != 0;
}

u32 plD3dReadArgb(plD3dFormat format, const u8* p) {
    plD3dTexelLayout layout;
    if (!plD3dGetTexelLayout(format, layout))
        return 0;
    const u32 size = plD3dBytesPerPixel(format);
    const u32 texel =
        size == 2 ? p[0] | p[1] << 8 : p[0] | p[1] << 8 | p[2] << 16 | (size == 4 ? p[3] << 24 : 0);
    static constexpr u32 kArgbShift[4] = {16, 8, 0, 24};
    u32 argb = layout.bits[3] == 0 ? 0xFF000000u : 0;
    for (int c = 0; c < 4; ++c)
        if (layout.bits[c] != 0)
            argb |= Widen((texel >> layout.shift[c]) & ((1u << layout.bits[c]) - 1), layout.bits[c])
                    << kArgbShift[c];
    return argb;
}

void plD3dWriteArgb(plD3dFormat format, u32 argb, u8* p) {
    plD3dTexelLayout layout;
    if (!plD3dGetTexelLayout(format, layout))
        return;
    static constexpr u32 kArgbShift[4] = {16, 8, 0, 24};
    u32 texel = 0;
    for (int c = 0; c < 4; ++c)
        if (layout.bits[c] != 0)
            texel |= (((argb >> kArgbShift[c]) & 0xFF) >> (8 - layout.bits[c])) << layout.shift[c];
    // The unused byte of X8R8G8B8 is written as opaque alpha, which is what a reader of it expects.
    if (format == plD3dFormat::X8R8G8B8)
        texel |= 0xFF000000u;
    const u32 size = plD3dBytesPerPixel(format);
    for (u32 i = 0; i < size; ++i)
        p[i] = static_cast<u8>(texel >> (8 * i));
}
