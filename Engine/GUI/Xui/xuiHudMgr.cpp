#include "Engine/GUI/Xui/xuiHudMgr.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inVirtualJoystick.h"

void xuiHudMgr::Think() {
    const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    for (size_t i = 0; joystick && i < m_items.size(); ++i) {
        if (!m_flags[i] || !IsChild(m_items[i]))
            continue;
        for (i32 action : m_actions[i]) {
            if (!joystick->WasButtonReleased(action))
                continue;
            // The enabled and visible flags flip each on its own, so they may disagree.
            m_items[i]->SetEnabled(!m_items[i]->IsEnabled());
            m_items[i]->SetVisible(!m_items[i]->IsVisible());
        }
    }
    guiContainer::Think();
}

void xuiHudMgr::AddItem(guiWindow* item, std::vector<i32> actions) {
    if (!IsChild(item))
        AddChild(item);
    m_items.push_back(item);
    m_actions.push_back(std::move(actions));
    m_flags.push_back(1);
}

void xuiHudMgr::SetItemEnabled(bool enabled, const char* name) {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (IsChild(m_items[i]) && m_items[i]->GetName() == (name ? name : "")) {
            m_flags[i] = enabled ? 1 : 0;
            return;
        }
    }
}

bool xuiHudMgr::IsChild(const guiWindow* window) const {
    for (i32 i = 0; i < GetChildCount(); ++i)
        if (GetChild(i) == window)
            return true;
    return false;
}
