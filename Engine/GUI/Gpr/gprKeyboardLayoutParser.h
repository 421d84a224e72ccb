#pragma once
#include "Engine/GUI/Gpr/gprParser.h"
#include "Engine/GUI/Xui/xuiKeyboardLayout.h"

#include <memory>

// The keywords of an on-screen keyboard's layout ("StandardLayoutSize", "LayoutDirection",
// "CharacterSetPath") into the layout its derived parser fills; it takes no chunk of its own.
class gprKeyboardLayoutParser : public gprParser {
  public:
    gprKeyboardLayoutParser();

    bool IsType(u32) const override { return false; }
    u32 GetType() const override { return s_standardLayoutSize; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

    // "LeftToRight" 0, "RightToLeft" 1, "TopToBottom" 2, exactly; anything else 0.
    static i32 DirectionOfName(const std::string& name);

  protected:
    // The layout the keywords go into; without one they are read and dropped.
    void SetTarget(xuiKeyboardLayout* layout) { m_layout = layout; }

  private:
    xuiKeyboardLayout* m_layout = nullptr;
    static inline u32 s_standardLayoutSize = 0, s_layoutDirection = 0, s_characterSetPath = 0;
};

// The parser of "LayoutGrid" objects inside an "OrderedKeyboard": a new grid filled from the body, its
// "KeyPrototypeStandard" (the last one wins) and its "LayoutToggleVal" flags ORed, handed to the keyboard
// under that value (a value that already has a grid keeps it). A parser for each load, as for prototypes.
class gprKeyboardLayoutGridParser : public gprKeyboardLayoutParser {
  public:
    gprKeyboardLayoutGridParser();

    // The parent must be an ordered keyboard; for any other the grid is dropped with a warning.
    void Load(chReader& reader, guiWindow* parent) override;
    bool IsType(u32 id) const override { return id == s_layoutGrid; }
    u32 GetType() const override { return s_layoutGrid; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

  private:
    std::unique_ptr<xuiKeyboardLayoutGrid> m_grid;
    u32 m_toggleValue = 0;
    static inline u32 s_layoutGrid = 0, s_layoutToggleVal = 0, s_numColumns = 0, s_offsetPosition = 0,
                      s_keyPrototypeStandard = 0;
};
