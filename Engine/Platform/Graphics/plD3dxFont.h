#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"
#include "Engine/Platform/Graphics/plD3dUnknown.h"
#include "Engine/Platform/Graphics/plFontRasterizer.h"

#include <string_view>
#include <unordered_map>
#include <vector>

class plD3dDevice;
class plD3dTexture;

// Our stand-in for the helper library's font object: text in one font of the rasterizer, drawn on the
// device as pre-transformed quads from an atlas texture that keeps the glyphs drawn so far. A draw
// sets the states it needs (alpha blending, no depth, the atlas on stage 0) and puts every state it
// changed back, so a caller's record of the device stays true. The font holds its device.
class plD3dxFont : public plD3dUnknown {
  public:
    // The text from the rectangle's top-left corner, unclipped, a line per line feed, in colour
    // 0xAARRGGBB (the alpha scales the glyphs' coverage); the height drawn.
    i32 DrawText(std::u16string_view text, const plD3dRect& rect, u32 colour);

  private:
    friend plD3dResult plD3dxCreateFont(plD3dDevice* device, plFontHandle font, plD3dxFont** created);

    struct Vertex {
        f32 x, y, z, rhw;
        u32 colour;
        f32 u, v;
    };
    // A glyph's place in the atlas: its cell, padded on both sides for strokes past the advance.
    struct Glyph {
        u32 x = 0;
        u32 y = 0;
        u32 width = 0;
        i32 advance = 0;
        bool empty = true;
    };

    plD3dxFont(plD3dDevice& device, plFontHandle font, u32 cellHeight, plD3dTexture* atlas, u32 atlasSize);
    ~plD3dxFont() override;

    // The glyph, drawn into the atlas when new; null when the atlas has no room left.
    const Glyph* FindOrAdd(char16_t unit);
    void ClearAtlas();
    // Draws the quads gathered, with the states set and put back.
    void Flush();

    plD3dDevice& m_device;
    plFontHandle m_font;
    i32 m_cell;
    i32 m_pad;
    plD3dTexture* m_atlas;
    u32 m_atlasSize;
    u32 m_shelfX = 0;
    u32 m_shelfY = 0;
    std::unordered_map<char16_t, Glyph> m_glyphs;
    std::vector<Vertex> m_quads;
    std::vector<u32> m_raster;
};

// A font object of the rasterizer's font (installed in the platform services) on the device;
// InvalidCall when the rasterizer does not know the font.
plD3dResult plD3dxCreateFont(plD3dDevice* device, plFontHandle font, plD3dxFont** created);
