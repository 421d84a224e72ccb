#pragma once
#include "Engine/GUI/Gpr/gprWindowParser.h"

#include <vector>

// The per-state look of a material widget (colour, transparency, tiling, transparency map); the base
// of the drawable widgets' parsers. It creates no widget from a script itself.
class gprMaterialParser : public gprWindowParser {
  public:
    gprMaterialParser();

    bool IsType(u32 id) const override { return id == s_material; }
    u32 GetType() const override { return s_material; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  protected:
    // The states a saved widget may have a look for, ascending: -1 and every named value.
    static std::vector<i32> KnownStates();
    // The name a saved state is written under. The default look (-1) has no name in the table; it is
    // written under one the table does not hold, so that it loads as the default look again, not as "Idle".
    static std::string SavedStateName(i32 state);

  private:
    static inline u32 s_material = 0, s_tile = 0, s_transparencyMap = 0, s_transparency = 0, s_color = 0;
};
