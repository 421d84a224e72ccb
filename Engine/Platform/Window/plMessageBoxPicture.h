#pragma once
#include "Engine/Platform/Graphics/plFontRasterizer.h"

#include <string>
#include <string_view>
#include <vector>

// A button of a drawn message box: the answer it gives and its label.
struct plBoxButton {
    i32 id;
    std::u16string label;
};

// A message box drawn in pixels with the font rasterizer, for a platform whose own box cannot show: the
// caption on a band along the top, the text wrapped to the box's width, the buttons in a row at the bottom
// right, the first marked as the one Enter presses. Pixels are 0x00RRGGBB, top-down, GetWidth() a row.
class plMessageBoxPicture {
  public:
    // Empty (no pixels) when the rasterizer has no font to draw with.
    plMessageBoxPicture(plFontRasterizer& fonts, std::u16string_view caption, std::u16string_view text,
                        const std::vector<plBoxButton>& buttons);

    bool IsEmpty() const { return m_pixels.empty(); }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }
    const std::vector<u32>& GetPixels() const { return m_pixels; }
    // The id of the button under the point, 0 for none.
    i32 ButtonAt(i32 x, i32 y) const;

  private:
    struct Rect {
        i32 x, y, width, height;
    };
    struct Placed {
        i32 id;
        Rect rect;
    };

    void Fill(const Rect& rect, u32 colour);
    void Frame(const Rect& rect, i32 thickness, u32 colour);
    // The text's glyphs in the colour over what is drawn, its cell's top-left corner at (x, y).
    void DrawLabel(plFontRasterizer& fonts, plFontHandle font, std::u16string_view text, i32 x, i32 y,
                   u32 colour);

    u32 m_width = 0;
    u32 m_height = 0;
    std::vector<u32> m_pixels;
    std::vector<Placed> m_buttons;
};

// The text in lines no wider than `width` in the font: broken at its line breaks, then as envBreakLine
// breaks a line (at spaces and after a path's '/'s). Trailing line breaks make no lines.
std::vector<std::u16string> plWrapText(plFontRasterizer& fonts, plFontHandle font, std::u16string_view text,
                                       u32 width);
