#pragma once
#include "Engine/GUI/Gpr/gprMaterialParser.h"

// The parser of "Image" objects: the image file of each state, named relative to the script's folder.
class gprImageParser : public gprMaterialParser {
  public:
    gprImageParser();

    bool IsType(u32 id) const override { return id == s_image; }
    u32 GetType() const override { return s_image; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_image = 0, s_imageState = 0;
};
