#pragma once
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Xui/xuiKeyboardLayout.h"

#include <deque>
#include <map>
#include <vector>

class guiButton;
class guiCheckbox;

// The on-screen keyboard: character keys built from the layout grid of the current toggle value, special
// keys and toggle keys (check boxes) built from prototypes. It edits no text: a clicked character key
// queues its caption and a clicked special key its id, and the owning screen pops both queues each frame.
// Every key window is a child of the keyboard, which owns it; the maps only refer to them.
class xuiOrderedKeyboard : public guiContainer {
  public:
    // The keys think; released special keys queue their ids in id order, released character keys their
    // captions in placement order; a typed character lets go of the toggle-once keys; the toggle value
    // becomes the OR of the checked toggle keys' values, and when it changed the character keys are
    // built anew from its grid (deleted through the window manager, so a key under the pointer lives to
    // the end of the update).
    void Think() override;
    // Reaches every key; the keyboard's own flag and other children stay as they are.
    void SetEnabled(bool enabled) override;

    // A value that has a grid keeps it (false). Nothing is rebuilt.
    bool AddLayoutGrid(u32 toggleValue, const xuiKeyboardLayoutGrid& grid);
    // Adds the character keys of the value's grid, storing an empty grid for a value without one; keys
    // already there stay.
    void BuildLayout(u32 toggleValue);
    // A second prototype of an id sets the same window up again.
    void AddSpecialKey(const xuiKeyPrototypeSpecial& prototype);
    // A new id takes the prototype's toggle properties; a known id has them replaced.
    void AddToggleKey(const xuiKeyPrototypeToggle& prototype);
    // Null for an id without such a key.
    guiButton* GetKeyById(u32 keyId) const;
    guiCheckbox* FindKey(u32 keyId) const;
    void GetKeys(std::vector<guiButton*>& keys) const { keys = m_keys; }
    u32 GetToggleValue() const { return m_toggleValue; }
    // Queued as a released character key queues its caption: typing from outside the keys.
    void QueueText(const envString& text) { m_texts.push_back(text); }
    // False, out untouched, when the queue is empty.
    bool PopText(envString& out);
    bool PopKeyId(u32& out);

    // Applies the prototype to the key window and makes it the keyboard's child at the position: size,
    // caption style, each image state with its transparency, transparency map and the caption, then idle
    // and enabled as the prototype says. A key image that cannot be loaded leaves its state without a
    // picture, with a warning, so a rebuild inside the frame never fails half-way.
    void SetupKey(guiButton* window, const xuiKeyPrototypeStandard& prototype, const maVector3d& position,
                  const envString& caption);

  private:
    std::map<u32, xuiKeyboardLayoutGrid> m_grids;
    u32 m_toggleValue = 0;
    std::vector<guiButton*> m_keys;
    std::map<u32, guiButton*> m_specialKeys;
    std::map<u32, guiCheckbox*> m_toggleKeys;
    std::map<u32, xuiKeyToggleProperties> m_toggleProperties;
    std::deque<envString> m_texts;
    std::deque<u32> m_keyIds;
};
