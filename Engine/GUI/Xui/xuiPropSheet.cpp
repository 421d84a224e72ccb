#include "Engine/GUI/Xui/xuiPropSheet.h"

#include "Engine/GUI/Gui/guiButton.h"

#include <algorithm>

namespace {

// The selected variants of the six states; they do not follow s + 6 for Released, Pressed and Held.
i32 ActiveLook(i32 state) {
    constexpr i32 looks[] = {6, 7, 10, 8, 9, 11};
    return state >= 0 && state < 6 ? looks[state] : state;
}

void Show(guiWindow* page, bool shown) {
    page->SetEnabled(shown);
    page->SetVisible(shown);
}

} // namespace

void xuiPropSheet::SetVisible(bool visible) {
    guiWindow::SetVisible(visible);
    if (!visible)
        return;
    for (guiButton* tab : m_tabs)
        tab->SetVisible(true);
    if (guiWindow* page = GetActivePage())
        page->SetVisible(true);
}

void xuiPropSheet::Think() {
    if (m_tabs.empty())
        return;
    guiContainer::Think();
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        if (m_tabs[i]->GetState() == guiStateReleased && static_cast<i32>(i) != m_active) {
            SetActivePage(static_cast<i32>(i));
            break;
        }
    }
    guiButton* tab = GetActiveTab();
    tab->SetState(ActiveLook(tab->GetState()));
}

guiButton* xuiPropSheet::AddPage(std::unique_ptr<guiButton> tab, std::unique_ptr<guiWindow> page) {
    tab->SetEnabled(true);
    tab->SetVisible(true);
    if (m_pages.empty()) {
        Show(page.get(), true);
        tab->SetPosition({0.0f, 0.0f, tab->GetPosition().z});
    } else {
        Show(page.get(), false);
    }
    m_tabs.push_back(AddChild(std::move(tab)));
    m_pages.push_back(AddChild(std::move(page)));
    LayoutTabs();
    m_pages.back()->SetPosition({0.0f, 0.0f, 0.0f});
    return m_tabs.back();
}

void xuiPropSheet::SetActivePage(i32 index) {
    if (static_cast<u32>(index) >= m_tabs.size())
        return;
    m_tabs[static_cast<size_t>(m_active)]->SetState(guiStateIdle);
    Show(m_pages[static_cast<size_t>(m_active)], false);
    m_active = index;
    m_tabs[static_cast<size_t>(m_active)]->SetState(6);
    Show(m_pages[static_cast<size_t>(m_active)], true);
}

guiButton* xuiPropSheet::GetActiveTab() const {
    return m_tabs.empty() ? nullptr : m_tabs[static_cast<size_t>(m_active)];
}

guiWindow* xuiPropSheet::GetActivePage() const {
    return m_pages.empty() ? nullptr : m_pages[static_cast<size_t>(m_active)];
}

void xuiPropSheet::LayoutTabs() {
    i32 sheetWidth = 0, sheetHeight = 0;
    GetSize(sheetWidth, sheetHeight);
    i32 y = 0;
    size_t rowStart = 0;
    i32 rowWidth = 0, rowHeight = 0;
    const auto placeRow = [&](size_t end) {
        i32 x = 0;
        for (size_t i = rowStart; i < end; ++i) {
            i32 w = 0, h = 0;
            m_tabs[i]->GetSize(w, h);
            m_tabs[i]->SetPosition(
                {static_cast<f32>(x), static_cast<f32>(-(h + y)), m_tabs[i]->GetPosition().z});
            x += w;
        }
        y += rowHeight;
        rowStart = end;
        rowWidth = rowHeight = 0;
    };
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        i32 w = 0, h = 0;
        m_tabs[i]->GetSize(w, h);
        rowWidth += w;
        rowHeight = std::max(rowHeight, h);
        if (rowWidth >= sheetWidth)
            placeRow(i + 1);
    }
    if (rowStart < m_tabs.size())
        placeRow(m_tabs.size());
}
