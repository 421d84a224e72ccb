#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"

// The parser of "Dialog" objects: "OkButton", "CancelButton" and "Background" load into the parts the
// dialog already has; other widget objects become further children.
class gprDialogParser : public gprContainerParser {
  public:
    gprDialogParser();

    bool IsType(u32 id) const override { return id == s_dialog; }
    u32 GetType() const override { return s_dialog; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  protected:
    void SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) override;

  private:
    static inline u32 s_dialog = 0, s_okButton = 0, s_cancelButton = 0, s_background = 0;
};
