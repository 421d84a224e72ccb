#pragma once
#include "Engine/GUI/Gpr/gprDialogParser.h"

// The parser of "FileBrowseDialog" objects: besides the dialog's own parts, "UpArrowButton",
// "SelectionDisplay", "FileSelectorScrollBox" and "FileSelector" load into the parts the browser already
// has, so a screen's script dresses them without making new ones.
class gprFileBrowseDialogParser : public gprDialogParser {
  public:
    gprFileBrowseDialogParser();

    bool IsType(u32 id) const override { return id == s_fileBrowseDialog; }
    u32 GetType() const override { return s_fileBrowseDialog; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  protected:
    void SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) override;

  private:
    static inline u32 s_fileBrowseDialog = 0, s_upArrow = 0, s_display = 0, s_scrollBox = 0, s_selector = 0;
};
