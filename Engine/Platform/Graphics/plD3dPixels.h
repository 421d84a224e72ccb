#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"

// Texel layouts of the colour formats, for moving pixels between surfaces of different formats.
// Colours travel as 0xAARRGGBB; narrow channels widen by repeating their high bits (31 of 5 bits gives
// 255), as a graphics card does, and formats without alpha read as opaque.

// Shifts and widths in bits of red, green, blue and alpha in a texel; width 0 for a channel the
// format lacks.
struct plD3dTexelLayout {
    u8 shift[4];
    u8 bits[4];
};

// Bytes per texel of a colour format; 0 for every other format.
u32 plD3dBytesPerPixel(plD3dFormat format);
bool plD3dIsColorFormat(plD3dFormat format);
// The layout of a colour format; false, the layout untouched, for every other format.
bool plD3dGetTexelLayout(plD3dFormat format, plD3dTexelLayout& layout);

// The texel at p (bytes in memory order) as 0xAARRGGBB, and back.
u32 plD3dReadArgb(plD3dFormat format, const u8* p);
void plD3dWriteArgb(plD3dFormat format, u32 argb, u8* p);

// The same for a row of count texels, the layout looked up once.
void plD3dReadArgbRow(plD3dFormat format, const u8* p, u32 count, u32* argb);
void plD3dWriteArgbRow(plD3dFormat format, const u32* argb, u32 count, u8* p);
