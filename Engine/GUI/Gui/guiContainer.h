#pragma once
#include "Engine/GUI/Gui/guiWindow.h"

#include <memory>
#include <vector>

// The window that owns other windows, kept ordered by depth (smaller in front, equal depths in the
// order added), so that Think asks the front-most child first and Draw visits them in the same order.
class guiContainer : public guiWindow {
  public:
    guiContainer() = default;
    ~guiContainer() override;

    void UpdateVisibility() override;
    // Enabled children only; a disabled container is not thought by its own parent.
    void Think() override;
    // Re-sorts when a child's depth changed, draws the children, then stamps itself last.
    void Draw() override;
    void UpdateTransform() override;
    void SetColor(const std::array<u8, 3>& rgb, i32 state) override;
    void SetTransparency(float alpha, i32 state) override;

    // Takes ownership; the child goes behind the children of equal depth.
    void AddChild(guiWindow* child);
    // The same for a window its maker held until now, so that a failure while it was being set up left
    // nothing unowned; gives the window back for keeping.
    template <class Window> Window* AddChild(std::unique_ptr<Window> child) {
        Window* added = child.release();
        AddChild(static_cast<guiWindow*>(added));
        return added;
    }
    // Without deleting it; a window that is not a child is left alone with a warning.
    void RemoveChild(guiWindow* child);
    void RemoveAndDeleteChild(guiWindow* child);
    void DeleteAllChildren();
    // The first direct child of exactly that name, or null.
    guiWindow* FindChild(const char* name) const;
    // Null beyond the children.
    guiWindow* GetChild(i32 index) const;
    i32 GetChildCount() const { return static_cast<i32>(m_children.size()); }
    bool ContainsFocus() const { return Contains(GetFocusWindow()); }
    bool ContainsOver() const { return Contains(GetOverWindow()); }
    // A child's depth changed: the children are no longer known to be in depth order.
    void OnChildDepthChanged() { m_depthsSorted = false; }

  private:
    bool Contains(const guiWindow* window) const;
    // Takes the child out of the array; false when it is not there.
    bool Detach(guiWindow* child);

    std::vector<guiWindow*> m_children;
    u32 m_removals = 0;
    // The children stand in depth order, none at NaN: an add then finds its place by halving.
    bool m_depthsSorted = true;
};
