#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

#include <vector>

class guiImage;
class xuiOrderedKeyboard;

// Several keyboards, each paired with an image that names it, of which one pair shows at a time; the
// images "Previous" and "Next" page through them, wrapping at both ends. Every window is a child of the
// selector; the lists only refer to them.
class xuiKeyboardSelector : public guiContainer {
  public:
    xuiKeyboardSelector();

    // Both become children, hidden and disabled; the first pair added shows at once.
    void AddKeyboard(guiWindow* keyboard, guiWindow* image);
    // Indices outside the keyboards and the current one are ignored.
    void SelectKeyboard(i32 index);
    i32 GetNumKeyboards() const { return static_cast<i32>(m_keyboards.size()); }
    i32 GetCurrentIndex() const { return m_current; }
    // Null outside the keyboards.
    guiWindow* GetKeyboard(i32 index) const;
    // Null when none is current or the current one is no ordered keyboard.
    xuiOrderedKeyboard* GetCurrentKeyboard() const;
    guiImage* GetPrevious() const { return m_previous; }
    guiImage* GetNext() const { return m_next; }
    // Pages on a released "Previous", else on a released "Next". The selector's own per-frame step does
    // not call it: a screen that wants the two images to page calls it after the tree has thought.
    virtual void UpdateSelection();

  private:
    void Show(i32 index, bool shown);

    guiImage* m_previous = nullptr;
    guiImage* m_next = nullptr;
    i32 m_current = -1;
    std::vector<guiWindow*> m_keyboards;
    std::vector<guiWindow*> m_images;
};
