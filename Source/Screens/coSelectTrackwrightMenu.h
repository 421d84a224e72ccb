#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"

#include <vector>

class guiTableBox;

// The profile selection menu's widget tree from the script "uisi": one row per Trackwright profile (a
// folder of the saves root) with its career ranking, in the order the folders are found, and "Load
// Trackwright", off while there is no profile.
class coSelectTrackwrightMenu : public guiContainer {
  public:
    // Throws coScreenScriptX for a script without its widgets, and the loaders' exceptions.
    coSelectTrackwrightMenu();
    ~coSelectTrackwrightMenu() override;

    // The selected profile's full folder name; empty when no row is selected.
    envString GetSelectedName() const;
    i32 GetProfileCount() const { return static_cast<i32>(m_names.size()); }
    guiTableBox* GetTable() const { return m_table; }
    // The saves folders that could not be read: their profiles are not listed.
    const std::vector<fsLocator>& GetUnreadableFolders() const { return m_unreadable; }

  private:
    guiTableBox* m_table = nullptr;
    g2dFont m_font;
    std::vector<envString> m_names;
    std::vector<fsLocator> m_unreadable;
};

// The text as it fits a column of that width in the font: whole when narrower, else cut with "..." until
// it fits or nothing is left before the dots.
envString coFitToColumn(const envString& text, g2dFont font, i32 width);

// The ranking text id of "uisi.tsf" for a count of completed track types.
u32 coRankingTextId(i32 completed);
