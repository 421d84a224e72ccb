#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"

// The parser of "ScrollBox" objects: a nested view widget becomes the box's view, "AssociatedControl"
// objects its edge sliders, and other widget objects plain children.
class gprScrollBoxParser : public gprContainerParser {
  public:
    gprScrollBoxParser();

    bool IsType(u32 id) const override { return id == s_scrollBox; }
    u32 GetType() const override { return s_scrollBox; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_scrollBox = 0, s_associatedControl = 0;
};
