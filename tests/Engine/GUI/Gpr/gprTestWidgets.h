#pragma once
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Gpr/gprWidgetTargets.h"
#include "Engine/GUI/Gpr/gprWindowParser.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiScriptTargets.h"
#include "Engine/Platform/Graphics/plFontRasterizer.h"

#include <map>
#include <memory>

// A material widget that records each state's look.
class gprTestMaterial : public guiWindow, public guiMaterialTarget {
  public:
    struct Look {
        std::array<u8, 3> rgb{255, 255, 255};
        f32 alpha = 1.0f;
        bool textured = false;
        f32 u = 1.0f, v = 1.0f;
        f32 threshold = -1.0f;
    };

    void Think() override {}
    void Draw() override {}
    void SetColor(const std::array<u8, 3>& rgb, i32 state) override { looks[state].rgb = rgb; }
    void SetTransparency(f32 alpha, i32 state) override { looks[state].alpha = alpha; }
    bool HasStateMaterial(i32 state) const override { return looks.count(state) != 0; }
    bool HasTexture(i32 state) const override { return Find(state).textured; }
    std::array<u8, 3> GetColor(i32 state) const override { return Find(state).rgb; }
    f32 GetTransparency(i32 state) const override { return Find(state).alpha; }
    void SetTile(f32 u, f32 v, i32 state) override {
        looks[state].u = u;
        looks[state].v = v;
    }
    void GetTile(f32& u, f32& v, i32 state) const override {
        u = Find(state).u;
        v = Find(state).v;
    }
    void MakeTransparencyMap(f32 threshold, i32 state) override { looks[state].threshold = threshold; }

    // A state without a look of its own shows the default one.
    Look Find(i32 state) const { return looks.count(state) ? looks.at(state) : Look{}; }

    std::map<i32, Look> looks;
};

class gprTestImage : public gprTestMaterial, public guiImageTarget {
  public:
    void SetImage(const fsLocator& file, i32 state) override {
        looks[state].textured = true;
        files[state] = file;
    }
    void GetImageFile(i32 state, fsLocator& file) const override { file = files.at(state); }

    std::map<i32, fsLocator> files;
};

// A text widget as the toolkit's keeps it: a record per state, its texture made from the record.
class gprTestText : public gprTestMaterial, public guiTextTarget {
  public:
    struct Record {
        envString text;
        std::array<u8, 3> rgb{};
        g2dFont font;
    };

    bool HasStateMaterial(i32 state) const override { return records.count(state) != 0; }
    bool HasTexture(i32 state) const override { return records.count(state) != 0; }
    void SetText(const envString& text, i32 state) override { records[state].text = text; }
    envString GetText(i32 state) const override { return records.at(state).text; }
    void SetTextColor(const std::array<u8, 3>& rgb, i32 state) override { records[state].rgb = rgb; }
    std::array<u8, 3> GetTextColor(i32 state) const override { return records.at(state).rgb; }
    void SetFont(g2dFont font, i32 state) override { records[state].font = font; }
    g2dFont GetFont(i32 state) const override { return records.at(state).font; }
    void SetDefaultColor(const std::array<u8, 3>& rgb) override { defaultColor = rgb; }
    std::array<u8, 3> GetDefaultColor() const override { return defaultColor; }
    void SetDefaultFont(g2dFont font) override { defaultFont = font; }
    g2dFont GetDefaultFont() const override { return defaultFont; }
    void SetDefaultXOffset(i32 offset) override { xOffset = offset; }
    i32 GetDefaultXOffset() const override { return xOffset; }
    void SetTextureSize(i32 w, i32 h) override {
        if (w >= 1 && w <= 4096 && h >= 1 && h <= 4096) {
            width = w;
            height = h;
        }
    }
    void GetTextureSize(i32& w, i32& h) const override {
        w = width;
        h = height;
    }
    void SetWordWrap(i32 flag) override { wordWrap = flag; }
    i32 GetWordWrap() const override { return wordWrap; }

    std::map<i32, Record> records;
    std::array<u8, 3> defaultColor{};
    g2dFont defaultFont;
    i32 xOffset = 0, width = 256, height = 128, wordWrap = 0;
};

class gprTestScrollingText : public gprTestText, public guiScrollingTextTarget {};

// Puts the test widgets behind the script kinds; the package must be started.
inline void gprInstallTestWidgets() {
    gprSetWidgetMaker("Material", [] { return new gprTestMaterial; });
    gprSetWidgetMaker("Image", [] { return new gprTestImage; });
    gprSetWidgetMaker("Text", [] { return new gprTestText; });
    gprSetWidgetMaker("ScrollingText", [] { return new gprTestScrollingText; });
}

inline void gprRemoveTestWidgets() {
    for (const char* kind : {"Material", "Image", "Text", "ScrollingText"})
        gprSetWidgetMaker(kind, {});
}

// Fonts without glyphs: every face and height is a new handle.
class gprTestFonts : public plFontRasterizer {
  public:
    plFontHandle CreateFont(const std::string&, i32) override { return ++m_last; }
    void DeleteFont(plFontHandle) override {}
    bool MeasureText(plFontHandle, std::u16string_view, u32& width, u32& height) override {
        width = height = 0;
        return true;
    }
    void DrawText(plFontHandle, std::u16string_view, i32, i32, u32*, u32, u32) override {}

  private:
    plFontHandle m_last = 0;
};
