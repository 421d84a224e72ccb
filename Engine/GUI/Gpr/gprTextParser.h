#pragma once
#include "Engine/GUI/Gpr/gprMaterialParser.h"

// The parser of "Text" objects: per-state texts, colours and fonts, the defaults, the texture size and
// word wrap of a text widget.
class gprTextParser : public gprMaterialParser {
  public:
    gprTextParser();

    bool IsType(u32 id) const override { return id == s_text; }
    u32 GetType() const override { return s_text; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_text = 0, s_staticText = 0, s_stateColor = 0, s_stateFont = 0, s_stateFontNum = 0,
                      s_defaultColor = 0, s_defaultFont = 0, s_defaultFontNum = 0, s_defaultXOffset = 0,
                      s_textureSize = 0, s_wordWrap = 0, s_staticTextNum = 0;
};

// The parser of "ScrollingText" objects: every text keyword, on a scrolling text widget.
class gprScrollingTextParser : public gprTextParser {
  public:
    bool IsType(u32 id) const override { return id == GetType(); }
    u32 GetType() const override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;
};
