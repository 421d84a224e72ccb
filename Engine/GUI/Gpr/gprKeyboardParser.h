#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"

// The parser of "OrderedKeyboard" objects: "LayoutGrid", "KeyPrototypeSpecial" and "KeyPrototypeToggle"
// objects fill the keyboard, other widget objects become its children, and once the body is read the
// keys of toggle value 0 are built.
class gprOrderedKeyboardParser : public gprContainerParser {
  public:
    gprOrderedKeyboardParser();

    void Load(chReader& reader, guiWindow* window) override;
    bool IsType(u32 id) const override { return id == s_orderedKeyboard; }
    u32 GetType() const override { return s_orderedKeyboard; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_orderedKeyboard = 0, s_layoutGrid = 0, s_special = 0, s_toggle = 0;
};

// The parser of "KeyboardSelector" objects: "Previous" and "Next" change the selector's two images, and
// each "KeyboardSelectorPair" of one "OrderedKeyboard" and one "Image", in either order, adds a keyboard
// in file order. A pair of anything else adds nothing, with a warning.
class gprKeyboardSelectorParser : public gprContainerParser {
  public:
    gprKeyboardSelectorParser();

    bool IsType(u32 id) const override { return id == s_keyboardSelector; }
    u32 GetType() const override { return s_keyboardSelector; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    // Reads the pair's body to its end, whatever it holds, so the objects after it load in their place.
    void LoadPair(chReader& reader, guiWindow* parent);
    void TranslatePair(chReader& reader, chWriter& writer);

    static inline u32 s_keyboardSelector = 0, s_previous = 0, s_next = 0, s_pair = 0, s_orderedKeyboard = 0,
                      s_image = 0;
};
