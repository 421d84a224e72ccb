#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

#include <memory>
#include <vector>

class guiButton;

// A tabbed container: each page has a tab button, laid out in rows above the sheet; clicking a tab
// shows its page and hides the others.
class xuiPropSheet : public guiContainer {
  public:
    // False hides the sheet alone; true shows it, every tab and the active page.
    void SetVisible(bool visible) override;
    // A released tab other than the active one becomes active; the active tab keeps its active look.
    void Think() override;

    // Both become children; the first page shows at once, later ones stay hidden. Gives the tab back.
    guiButton* AddPage(std::unique_ptr<guiButton> tab, std::unique_ptr<guiWindow> page);
    // Indices beyond the tabs (negative ones included) are ignored.
    void SetActivePage(i32 index);
    guiButton* GetActiveTab() const;
    guiWindow* GetActivePage() const;

  private:
    // Rows close when their width reaches the sheet's; the first row sits on the sheet's top edge.
    void LayoutTabs();

    i32 m_active = 0;
    std::vector<guiButton*> m_tabs;
    std::vector<guiWindow*> m_pages;
};
