#include "Engine/Platform/Graphics/plD3dPixels.h"

#include <algorithm>
#include <bit>
#include <cstring>

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
    u32 argb = 0;
    plD3dReadArgbRow(format, p, 1, &argb);
    return argb;
}

void plD3dWriteArgb(plD3dFormat format, u32 argb, u8* p) {
    plD3dWriteArgbRow(format, &argb, 1, p);
}

namespace {

// A channel of Bits bits widened to 8 by repeating its high bits.
template <u32 Bits> constexpr u32 WidenChannel(u32 value) {
    if constexpr (Bits == 0) {
        return 0;
    } else {
        u32 wide = value << (8 - Bits);
        for (u32 filled = Bits; filled < 8; filled += Bits)
            wide |= wide >> filled;
        return wide & 0xFF;
    }
}

template <u32 Bits> constexpr u32 Channel(u32 texel, u32 shift) {
    return WidenChannel<Bits>((texel >> shift) & ((1u << Bits) - 1));
}

template <u32 Bits> constexpr u32 Narrow(u32 argb, u32 argbShift, u32 shift) {
    if constexpr (Bits == 0)
        return 0;
    else
        return (((argb >> argbShift) & 0xFF) >> (8 - Bits)) << shift;
}

// The conversions of one layout, with its shifts and widths known to the compiler: red, green, blue
// and alpha as shift and bits each.
template <u32 Size, u32 RS, u32 RB, u32 GS, u32 GB, u32 BS, u32 BB, u32 AS, u32 AB> struct Texels {
    static void Read(const u8* p, u32 count, u32* argb) {
        for (u32 i = 0; i < count; ++i, p += Size) {
            const u32 texel = Load(p);
            const u32 alpha = AB == 0 ? 0xFF : Channel<AB>(texel, AS);
            argb[i] = alpha << 24 | Channel<RB>(texel, RS) << 16 | Channel<GB>(texel, GS) << 8 |
                      Channel<BB>(texel, BS);
        }
    }
    static void Write(const u32* argb, u32 count, u8* p, u32 fill) {
        for (u32 i = 0; i < count; ++i, p += Size) {
            const u32 texel = Narrow<RB>(argb[i], 16, RS) | Narrow<GB>(argb[i], 8, GS) |
                              Narrow<BB>(argb[i], 0, BS) | Narrow<AB>(argb[i], 24, AS) | fill;
            Store(texel, p);
        }
    }

  private:
    // Texels are stored low byte first; on such a host a whole-word copy lets the loops vectorise.
    static u32 Load(const u8* p) {
        u32 texel = 0;
        if constexpr (kWordCopies) {
            std::memcpy(&texel, p, Size);
        } else {
            for (u32 b = 0; b < Size; ++b)
                texel |= static_cast<u32>(p[b]) << (8 * b);
        }
        return texel;
    }
    static void Store(u32 texel, u8* p) {
        if constexpr (kWordCopies) {
            std::memcpy(p, &texel, Size);
        } else {
            for (u32 b = 0; b < Size; ++b)
                p[b] = static_cast<u8>(texel >> (8 * b));
        }
    }
    static constexpr bool kWordCopies = std::endian::native == std::endian::little;
};

using R8G8B8 = Texels<3, 16, 8, 8, 8, 0, 8, 0, 0>;
using A8R8G8B8 = Texels<4, 16, 8, 8, 8, 0, 8, 24, 8>;
using X8R8G8B8 = Texels<4, 16, 8, 8, 8, 0, 8, 0, 0>;
using R5G6B5 = Texels<2, 11, 5, 5, 6, 0, 5, 0, 0>;
using X1R5G5B5 = Texels<2, 10, 5, 5, 5, 0, 5, 0, 0>;
using A1R5G5B5 = Texels<2, 10, 5, 5, 5, 0, 5, 15, 1>;
using A4R4G4B4 = Texels<2, 8, 4, 4, 4, 0, 4, 12, 4>;

} // namespace

void plD3dReadArgbRow(plD3dFormat format, const u8* p, u32 count, u32* argb) {
    switch (format) {
    case plD3dFormat::R8G8B8:
        return R8G8B8::Read(p, count, argb);
    case plD3dFormat::A8R8G8B8:
        return A8R8G8B8::Read(p, count, argb);
    case plD3dFormat::X8R8G8B8:
        return X8R8G8B8::Read(p, count, argb);
    case plD3dFormat::R5G6B5:
        return R5G6B5::Read(p, count, argb);
    case plD3dFormat::X1R5G5B5:
        return X1R5G5B5::Read(p, count, argb);
    case plD3dFormat::A1R5G5B5:
        return A1R5G5B5::Read(p, count, argb);
    case plD3dFormat::A4R4G4B4:
        return A4R4G4B4::Read(p, count, argb);
    default:
        std::fill_n(argb, count, 0u);
    }
}

void plD3dWriteArgbRow(plD3dFormat format, const u32* argb, u32 count, u8* p) {
    switch (format) {
    case plD3dFormat::R8G8B8:
        return R8G8B8::Write(argb, count, p, 0);
    case plD3dFormat::A8R8G8B8:
        return A8R8G8B8::Write(argb, count, p, 0);
    case plD3dFormat::X8R8G8B8:
        // The unused byte is written as opaque alpha, which is what a reader of it expects.
        return X8R8G8B8::Write(argb, count, p, 0xFF000000u);
    case plD3dFormat::R5G6B5:
        return R5G6B5::Write(argb, count, p, 0);
    case plD3dFormat::X1R5G5B5:
        return X1R5G5B5::Write(argb, count, p, 0);
    case plD3dFormat::A1R5G5B5:
        return A1R5G5B5::Write(argb, count, p, 0);
    case plD3dFormat::A4R4G4B4:
        return A4R4G4B4::Write(argb, count, p, 0);
    default:
        return;
    }
}
