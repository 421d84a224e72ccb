#pragma once
#include "Engine/GUI/Gnf/gnfValue.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <string>
#include <vector>

class guiCheckbox;

// A container of check boxes of which exactly one is checked: the selected one, unless the selection
// was cleared (then none is until one is clicked or set). It can stack its buttons downwards and share
// its height among them. Increase and Decrease move the selection by the step, without wrapping around.
class guiRadioGroup : public guiContainer, public gnfValue {
  public:
    ~guiRadioGroup() override;

    // The clicked box becomes the selection; clicking the selected one leaves it checked.
    void Think() override;
    // Stacks buttons 1 .. n-1 under their predecessors when auto positioning; button 0 stays.
    void SetPosition(const maVector3d& position) override;
    // Shares the height among the buttons when auto sizing, truncating.
    void SetSize(i32 width, i32 height) override;
    void Increase() override { SetSelection(m_selected + m_step); }
    void Decrease() override { SetSelection(m_selected - m_step); }

    // Takes the box as a child named "RadioButton<index>"; a null box is ignored.
    void AddButton(guiCheckbox* button);
    // An index outside the buttons, or the selected one, changes nothing.
    void SetSelection(i32 index);
    // The first button of the name; none changes nothing.
    void SelectByName(const std::string& name);
    // No button checked: for a value that none of the buttons stands for.
    void ClearSelection();
    // -1 while the selection is cleared.
    i32 GetSelection() const { return m_selected; }
    // Null without buttons or a selection.
    guiCheckbox* GetSelectedButton() const;
    i32 GetButtonCount() const { return static_cast<i32>(m_buttons.size()); }

    // Each lays the group out again when the value changes.
    void SetAutoPositioning(bool on);
    void SetAutoSizing(bool on);
    void SetSpacing(i32 spacing);
    void SetStep(i32 step) { m_step = step; }
    bool GetAutoPositioning() const { return m_autoPositioning; }
    bool GetAutoSizing() const { return m_autoSizing; }
    i32 GetSpacing() const { return m_spacing; }

  private:
    void LayOut();

    i32 m_selected = 0;
    i32 m_spacing = 0;
    i32 m_step = 1;
    std::vector<guiCheckbox*> m_buttons;
    bool m_autoPositioning = false;
    bool m_autoSizing = false;
};
