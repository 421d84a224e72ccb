#pragma once
#include "Engine/GUI/Gui/guiDialog.h"
#include "Source/Screens/coDialogFrameFunction.h"

#include <vector>

class guiTableBox;

// The credits: a five-column table of the texts of "Credits.tsf" in the script's scroll box, and below
// it the lines of "uicdcdsp.tsf" that the frame function draws onto the screen. Built hidden and
// disabled for its modal run.
class coCreditsDialog : public guiDialog {
  public:
    // Throws coScreenScriptX for a script without its scroll box, and the loaders' exceptions.
    coCreditsDialog();
    ~coCreditsDialog() override;

    // The children's frame; Escape leaves as Ok does, since the credits have no Cancel button.
    void Think() override;

    guiTableBox* GetTable() const { return m_table; }
    i32 GetRowCount() const { return m_rows; }
    const std::vector<envString>& GetDisplayLines() const { return m_lines; }
    g2dFont GetDisplayFont() const { return m_displayFont; }
    // Where the lines start for a resolution preference: 0.1875 of its width and 0.8 of its height.
    static void GetLineOrigin(i32 resolution, i32& x, i32& y);

  private:
    g2dFont m_tableFont;
    g2dFont m_displayFont;
    guiTableBox* m_table = nullptr;
    i32 m_rows = 0;
    std::vector<envString> m_lines;
};

// The credits' modal frame: the lines below the table, white, 20 pixels apart, by the configured
// resolution.
class coCreditsDialogFunction : public coDialogFrameFunction {
  public:
    using coDialogFrameFunction::coDialogFrameFunction;
    void SetDialog(coCreditsDialog* dialog) { m_dialog = dialog; }

  protected:
    void DrawOverlay() override;

  private:
    coCreditsDialog* m_dialog = nullptr;
};
