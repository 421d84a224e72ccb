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

// The parser of "FileBrowseDialog" objects: a dialog whose "UpArrowButton", "SelectionDisplay",
// "FileSelectorScrollBox" and "FileSelector" (the list inside that scroll box) load into its own parts.
class gprFileBrowseDialogParser : public gprDialogParser {
  public:
    gprFileBrowseDialogParser();

    bool IsType(u32 id) const override { return id == s_fileBrowseDialog; }
    u32 GetType() const override { return s_fileBrowseDialog; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_fileBrowseDialog = 0, s_upArrowButton = 0, s_selectionDisplay = 0, s_fileSelector = 0,
                      s_fileSelectorScrollBox = 0;
};
