#pragma once
#include "Engine/GUI/Gui/guiDialog.h"

#include <string>

class guiTableBox;

// The choice of a new coaster's track type and environment: two scrolling columns of picture buttons,
// one a folder of root 7 (track types) and of root 8 (environments), the first of each chosen at the
// start. Built hidden and disabled for its modal run; "Ok" is off while a column is empty.
class coChooseCoasterDialog : public guiDialog {
  public:
    // Throws coScreenScriptX for a script without its scroll boxes or "Ok" text, and the loaders'
    // exceptions; a missing choice picture leaves its state untextured with a warning.
    coChooseCoasterDialog();
    ~coChooseCoasterDialog() override;

    // The chosen folder's name; empty when its column is empty.
    std::string GetSelectedTrackType() const;
    std::string GetSelectedEnvironment() const;
    guiTableBox* GetTrackTypeTable() const { return m_trackTypes; }

  private:
    guiTableBox* MakeTable(const char* name, const char* scrollBox);
    void AddChoices(guiTableBox* table, i32 root, g2dFont font);

    guiTableBox* m_environments = nullptr;
    guiTableBox* m_trackTypes = nullptr;
};
