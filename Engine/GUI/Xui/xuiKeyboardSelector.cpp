#include "Engine/GUI/Xui/xuiKeyboardSelector.h"

#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"

xuiKeyboardSelector::xuiKeyboardSelector() {
    m_previous = AddChild(std::make_unique<guiImage>());
    m_previous->SetName("Previous");
    m_next = AddChild(std::make_unique<guiImage>());
    m_next->SetName("Next");
}

void xuiKeyboardSelector::AddKeyboard(guiWindow* keyboard, guiWindow* image) {
    m_keyboards.push_back(keyboard);
    guiWindowMgr::AddChildWindow(keyboard, this);
    m_images.push_back(image);
    guiWindowMgr::AddChildWindow(image, this);
    Show(GetNumKeyboards() - 1, false);
    if (m_current == -1)
        SelectKeyboard(0);
}

void xuiKeyboardSelector::SelectKeyboard(i32 index) {
    if (index < 0 || index >= GetNumKeyboards() || index == m_current)
        return;
    if (m_current != -1)
        Show(m_current, false);
    m_current = index;
    Show(m_current, true);
}

guiWindow* xuiKeyboardSelector::GetKeyboard(i32 index) const {
    return index >= 0 && index < GetNumKeyboards() ? m_keyboards[static_cast<size_t>(index)] : nullptr;
}

xuiOrderedKeyboard* xuiKeyboardSelector::GetCurrentKeyboard() const {
    return dynamic_cast<xuiOrderedKeyboard*>(GetKeyboard(m_current));
}

void xuiKeyboardSelector::UpdateSelection() {
    const i32 count = GetNumKeyboards();
    if (count == 0)
        return;
    if (m_previous->GetState() == guiStateReleased)
        SelectKeyboard(m_current <= 0 ? count - 1 : m_current - 1);
    else if (m_next->GetState() == guiStateReleased)
        SelectKeyboard(m_current >= count - 1 ? 0 : m_current + 1);
}

void xuiKeyboardSelector::Show(i32 index, bool shown) {
    for (guiWindow* window :
         {m_keyboards[static_cast<size_t>(index)], m_images[static_cast<size_t>(index)]}) {
        window->SetVisible(shown);
        window->SetEnabled(shown);
    }
}
