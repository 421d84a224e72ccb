#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <string_view>

// A font of the rasterizer; 0 is none.
using plFontHandle = u32;

// Text in the system's fonts, measured and drawn as the Windows platform's font calls do it. A font
// is asked for by face name and cell height; the name is matched to the closest installed font, so
// any name gives a font while one is installed. Text measures the sum of its characters' advances (no
// kerning) by the cell height, and is drawn as white-on-black coverage from the cell's top-left corner.
class plFontRasterizer {
  public:
    virtual ~plFontRasterizer() = default;

    // A font whose cell (ascent and descent) is height pixels high, or taller where its Latin-1 glyphs
    // as drawn need it: the cell holds them whole. A negative height gives the size of the em instead.
    // 0 when no font can be made: none installed, or height 0 or past 32767 either way.
    virtual plFontHandle CreateFont(const std::string& faceUtf8, i32 height) = 0;
    virtual void DeleteFont(plFontHandle font) = 0;
    // False for an unknown font. Empty text is 0 wide and a cell high.
    virtual bool MeasureText(plFontHandle font, std::u16string_view text, u32& width, u32& height) = 0;
    // The text's cell turned black, then its glyphs' coverage in white (each of blue, green and red
    // bytes holds it: 0x00FFFFFF is full), into a top-down buffer of 32-bit pixels, cut to the buffer.
    // A surrogate pair is one character, and one that the font lacks is drawn as the replacement mark;
    // no glyph reaches above or below the cell.
    virtual void DrawText(plFontHandle font, std::u16string_view text, i32 x, i32 y, u32* pixels, u32 width,
                          u32 height) = 0;
};
