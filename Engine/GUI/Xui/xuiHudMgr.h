#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

#include <vector>

// The container of the game's palettes. A registered item whose flag is set flips on and off when one
// of its input actions is released.
class xuiHudMgr : public guiContainer {
  public:
    // Toggles the active items, then thinks as a container.
    void Think() override;

    // Takes the window as a child and registers it with its actions, flag set. An item that has left
    // the children is no longer touched.
    void AddItem(guiWindow* item, std::vector<i32> actions);
    // The first item of that name; no match changes nothing.
    void SetItemEnabled(bool enabled, const char* name);

  private:
    bool IsChild(const guiWindow* window) const;

    std::vector<std::vector<i32>> m_actions;
    std::vector<guiWindow*> m_items;
    std::vector<u8> m_flags;
};
