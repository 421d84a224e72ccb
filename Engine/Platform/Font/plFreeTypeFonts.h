#pragma once
#include "Engine/Platform/Graphics/plFontRasterizer.h"

#include <map>
#include <memory>

// The font rasterizer on FreeType, with faces found by fontconfig (whose configuration file a test
// pins through FONTCONFIG_FILE). Cell heights are real-dimension size requests: the font's ascent and
// descent together fill the cell, the cell is the size's line height, taller where the hinted
// glyphs reach past it.
class plFreeTypeFonts : public plFontRasterizer {
  public:
    plFreeTypeFonts();
    ~plFreeTypeFonts() override;
    plFreeTypeFonts(const plFreeTypeFonts&) = delete;
    plFreeTypeFonts& operator=(const plFreeTypeFonts&) = delete;

    plFontHandle CreateFont(const std::string& faceUtf8, i32 height) override;
    void DeleteFont(plFontHandle font) override;
    bool MeasureText(plFontHandle font, std::u16string_view text, u32& width, u32& height) override;
    void DrawText(plFontHandle font, std::u16string_view text, i32 x, i32 y, u32* pixels, u32 width,
                  u32 height) override;

  private:
    struct Library;
    struct Face;

    // The file of the installed font closest to the name; empty when there is none.
    std::string Match(const std::string& faceUtf8, int& index);
    Face* Find(plFontHandle font);

    std::unique_ptr<Library> m_library;
    std::map<plFontHandle, std::unique_ptr<Face>> m_faces;
    plFontHandle m_next = 1;
};
