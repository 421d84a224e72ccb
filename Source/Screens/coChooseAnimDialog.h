#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/Graphics/G2d/g2dFont.h"

class coProp;
class guiTableBox;

// The small modal list from which the player picks the animation event a placed prop shows: picking a
// row makes it the prop's active event at once and ends the run with 1; Escape ends it with 2, unchanged.
class coChooseAnimDialog : public guiDialog {
  public:
    // The list of the prop's events (a name, else the index) at (x, y), the active one selected. The
    // prop is not owned and must outlive the dialog.
    coChooseAnimDialog(coProp* prop, i32 x, i32 y);
    ~coChooseAnimDialog() override;

    void Think() override;

    guiTableBox* GetEventTable() const { return m_eventTable; }

  private:
    void Choose(i32 event);

    guiTableBox* m_eventTable = nullptr;
    g2dFont m_listFont;
    coProp* m_prop = nullptr;
};

// Column 0 of the row for the cell states 0, 1 and 6; a row past the end appends one, so rows fill in
// order.
void SetTableRowText(guiTableBox& table, i32 row, const envString& text);
