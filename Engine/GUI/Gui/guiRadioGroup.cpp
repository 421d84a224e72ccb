#include "Engine/GUI/Gui/guiRadioGroup.h"

#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

guiRadioGroup::~guiRadioGroup() {
    for (guiCheckbox* button : m_buttons)
        guiWindowMgr::DeleteWindow(button);
    m_buttons.clear();
}

void guiRadioGroup::Think() {
    if (m_buttons.empty())
        return;
    guiContainer::Think();
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->IsChecked() && static_cast<i32>(i) != m_selected) {
            SetSelection(static_cast<i32>(i));
            return;
        }
    // Only a click on the selected button unchecks it: it stays the choice.
    if (m_selected >= 0)
        m_buttons[static_cast<size_t>(m_selected)]->SetChecked(true);
}

void guiRadioGroup::SetPosition(const maVector3d& position) {
    guiContainer::SetPosition(position);
    if (!m_autoPositioning)
        return;
    for (size_t i = 1; i < m_buttons.size(); ++i) {
        const maVector3d above = m_buttons[i - 1]->GetPosition();
        i32 w = 0, h = 0;
        m_buttons[i - 1]->GetSize(w, h);
        const maVector3d own = m_buttons[i]->GetPosition();
        m_buttons[i]->SetPosition({own.x, above.y + static_cast<float>(h + m_spacing), own.z});
    }
}

void guiRadioGroup::SetSize(i32 width, i32 height) {
    guiContainer::SetSize(width, height);
    if (!m_autoSizing || m_buttons.empty())
        return;
    const i32 count = GetButtonCount();
    const i32 each = (height - m_spacing * (count - 1)) / count;
    for (guiCheckbox* button : m_buttons)
        button->SetSize(width, each);
}

void guiRadioGroup::AddButton(guiCheckbox* button) {
    if (!button)
        return;
    button->SetName(("RadioButton" + std::to_string(m_buttons.size())).c_str());
    m_buttons.push_back(button);
    AddChild(button);
}

void guiRadioGroup::SetSelection(i32 index) {
    if (index < 0 || index >= GetButtonCount() || index == m_selected)
        return;
    if (m_selected >= 0)
        m_buttons[static_cast<size_t>(m_selected)]->SetChecked(false);
    m_selected = index;
    m_buttons[static_cast<size_t>(index)]->SetChecked(true);
}

void guiRadioGroup::ClearSelection() {
    for (guiCheckbox* button : m_buttons)
        button->SetChecked(false);
    m_selected = -1;
}

void guiRadioGroup::SelectByName(const std::string& name) {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->GetName() == name) {
            SetSelection(static_cast<i32>(i));
            return;
        }
}

guiCheckbox* guiRadioGroup::GetSelectedButton() const {
    return m_buttons.empty() || m_selected < 0 ? nullptr : m_buttons[static_cast<size_t>(m_selected)];
}

void guiRadioGroup::SetAutoPositioning(bool on) {
    if (on == m_autoPositioning)
        return;
    m_autoPositioning = on;
    LayOut();
}

void guiRadioGroup::SetAutoSizing(bool on) {
    if (on == m_autoSizing)
        return;
    m_autoSizing = on;
    LayOut();
}

void guiRadioGroup::SetSpacing(i32 spacing) {
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    LayOut();
}

void guiRadioGroup::LayOut() {
    i32 width = 0, height = 0;
    GetSize(width, height);
    SetSize(width, height);
    SetPosition(GetPosition());
}
