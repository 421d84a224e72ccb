#include "Engine/GUI/Xui/xuiComboBox.h"

#include "Engine/GUI/Gnf/gnfSelection.h"
#include "Engine/GUI/Gui/guiEditField.h"

namespace {

xuiComboBox::ChildRecord Completed(xuiComboBox::ChildRecord record) {
    record.view = dynamic_cast<gnfView*>(record.window);
    return record;
}

void Place(guiWindow& window, i32 x, i32 y) {
    window.SetPosition({static_cast<float>(x), static_cast<float>(y), window.GetPosition().z});
}

} // namespace

void xuiComboBox::SetResults(guiWindow* results) {
    m_results = results;
    if (results)
        AddChild(results);
}

void xuiComboBox::SetScrollView(const ChildRecord& record) {
    m_scrollView = Completed(record);
    if (!m_scrollView.window)
        return;
    AddChild(m_scrollView.window);
    SetOpen(m_open);
}

void xuiComboBox::SetDropDown(const ChildRecord& record) {
    m_dropDown = Completed(record);
    if (m_dropDown.window)
        AddChild(m_dropDown.window);
}

void xuiComboBox::SetOpen(bool open) {
    m_open = open;
    if (guiWindow* view = m_scrollView.window) {
        view->SetVisible(open);
        view->SetEnabled(open);
    }
}

void xuiComboBox::SetSize(i32 width, i32 height) {
    guiContainer::SetSize(width, height);
    guiWindow* view = m_scrollView.window;
    guiWindow* button = m_dropDown.window;
    if (!m_results || !view || !button)
        return;
    GetSize(width, height);
    i32 rw = 0, rh = 0, bw = 0, bh = 0;
    m_results->GetSize(rw, rh);
    button->GetSize(bw, bh);
    m_results->SetSize(width - bw, rh);
    const bool buttonLeft = m_dropDown.position == kLeft;
    const bool viewAbove = m_scrollView.position == kTop;
    Place(*m_results, buttonLeft ? bw : 0, viewAbove ? height - rh : 0);
    Place(*button, buttonLeft ? 0 : width - bw, viewAbove ? height - bh : 0);
    view->SetSize(width, height - rh);
    Place(*view, 0, viewAbove ? 0 : rh);
}

void xuiComboBox::Think() {
    guiContainer::Think();
    const guiWindow* focus = GetFocusWindow();
    if (!focus || (focus != this && !focus->IsDescendantOf(this))) {
        SetOpen(false);
        return;
    }
    if (m_dropDown.window && m_dropDown.window->GetState() == guiStateReleased)
        SetOpen(!m_open);
}

float xuiComboBox::GetHorizontalScroll() const {
    return m_scrollView.view ? m_scrollView.view->GetHorizontalScroll() : 0.0f;
}

float xuiComboBox::GetVerticalScroll() const {
    return m_scrollView.view ? m_scrollView.view->GetVerticalScroll() : 0.0f;
}

void xuiComboBox::SetHorizontalScroll(float fraction) {
    if (m_scrollView.view)
        m_scrollView.view->SetHorizontalScroll(fraction);
}

void xuiComboBox::SetVerticalScroll(float fraction) {
    if (m_scrollView.view)
        m_scrollView.view->SetVerticalScroll(fraction);
}

void xuiComboBoxText::SetResults(guiWindow* results) {
    xuiComboBox::SetResults(results);
    m_editField = dynamic_cast<guiEditField*>(results);
}

void xuiComboBoxText::Think() {
    xuiComboBox::Think();
    if (m_editField)
        m_typed = m_editField->GetText();
    auto* list = dynamic_cast<gnfSelection*>(GetScrollView().window);
    if (!list || list->GetSelection() < 0)
        return;
    const envString& item = list->GetItemText(list->GetSelection());
    if (!(item == m_chosen)) {
        m_chosen = item;
        m_typed = item;
        if (m_editField)
            m_editField->SetText(item);
        SetOpen(false);
        return;
    }
    if (m_typed == m_chosen)
        return;
    // Several equal items: the last one stays selected.
    for (i32 i = 0; i < list->GetItemCount(); ++i)
        if (list->GetItemText(i) == m_typed) {
            m_chosen = m_typed;
            list->Select(i);
        }
}
