#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

#include <memory>

void xuiOrderedKeyboard::Think() {
    guiContainer::Think();
    for (const auto& [id, key] : m_specialKeys)
        if (key->GetState() == guiStateReleased)
            m_keyIds.push_back(id);
    bool typed = false;
    for (guiButton* key : m_keys)
        if (key->GetState() == guiStateReleased) {
            m_texts.push_back(key->GetText()->GetText(guiStatePressed));
            typed = true;
        }
    u32 value = 0;
    for (const auto& [id, key] : m_toggleKeys) {
        if (typed && key->IsChecked() && m_toggleProperties[id].IsToggleOnce())
            key->SetChecked(false);
        if (key->IsChecked())
            value |= m_toggleProperties[id].GetToggleValue();
    }
    if (value == m_toggleValue)
        return;
    for (guiButton* key : m_keys)
        guiWindowMgr::DeleteWindow(key);
    m_keys.clear();
    BuildLayout(value);
}

void xuiOrderedKeyboard::SetEnabled(bool enabled) {
    for (guiButton* key : m_keys)
        key->SetEnabled(enabled);
    for (const auto& entry : m_specialKeys)
        entry.second->SetEnabled(enabled);
    for (const auto& entry : m_toggleKeys)
        entry.second->SetEnabled(enabled);
}

bool xuiOrderedKeyboard::AddLayoutGrid(u32 toggleValue, const xuiKeyboardLayoutGrid& grid) {
    return m_grids.emplace(toggleValue, grid).second;
}

void xuiOrderedKeyboard::BuildLayout(u32 toggleValue) {
    m_toggleValue = toggleValue;
    const xuiKeyboardLayoutGrid& grid = m_grids[toggleValue];
    for (const xuiPlacedKey& placed : grid.PlaceKeys()) {
        auto key = std::make_unique<guiButton>();
        SetupKey(key.get(), grid.GetLayout().GetKeyPrototype(), placed.position, placed.caption);
        m_keys.push_back(key.release());
    }
}

void xuiOrderedKeyboard::AddSpecialKey(const xuiKeyPrototypeSpecial& prototype) {
    const u32 id = prototype.GetKeyId();
    std::unique_ptr<guiButton> created;
    guiButton* key = GetKeyById(id);
    if (!key) {
        created = std::make_unique<guiButton>();
        key = created.get();
    }
    SetupKey(key, prototype, prototype.GetKeyPosition(), prototype.GetKeyLabel());
    m_specialKeys[id] = key;
    created.release();
}

void xuiOrderedKeyboard::AddToggleKey(const xuiKeyPrototypeToggle& prototype) {
    const u32 id = prototype.GetKeyId();
    std::unique_ptr<guiCheckbox> created;
    guiCheckbox* key = FindKey(id);
    if (!key) {
        created = std::make_unique<guiCheckbox>();
        key = created.get();
        m_toggleProperties.emplace(id, prototype);
    } else {
        m_toggleProperties[id] = prototype;
    }
    SetupKey(key, prototype, prototype.GetKeyPosition(), prototype.GetKeyLabel());
    m_toggleKeys[id] = key;
    created.release();
}

guiButton* xuiOrderedKeyboard::GetKeyById(u32 keyId) const {
    const auto found = m_specialKeys.find(keyId);
    return found == m_specialKeys.end() ? nullptr : found->second;
}

guiCheckbox* xuiOrderedKeyboard::FindKey(u32 keyId) const {
    const auto found = m_toggleKeys.find(keyId);
    return found == m_toggleKeys.end() ? nullptr : found->second;
}

bool xuiOrderedKeyboard::PopText(envString& out) {
    if (m_texts.empty())
        return false;
    out = m_texts.front();
    m_texts.pop_front();
    return true;
}

bool xuiOrderedKeyboard::PopKeyId(u32& out) {
    if (m_keyIds.empty())
        return false;
    out = m_keyIds.front();
    m_keyIds.pop_front();
    return true;
}

void xuiOrderedKeyboard::SetupKey(guiButton* window, const xuiKeyPrototypeStandard& prototype,
                                  const maVector3d& position, const envString& caption) {
    const i32 width = prototype.GetKeyWidth();
    const i32 height = prototype.GetKeyHeight();
    // Named as labelled, so a key is found by what it shows.
    window->SetName(envStringToNarrow(caption).c_str());
    window->SetSize(width, height);
    guiImage& image = *window->GetImage();
    guiText& text = *window->GetText();
    if (prototype.GetShowText()) {
        text.SetDefaultColor(prototype.GetTextColor());
        text.SetDefaultFont(prototype.GetTextFont());
        text.SetTextureSize(width, height);
    } else {
        text.SetVisible(false);
    }
    window->SetTextPositioning(guiButton::Free);
    std::vector<i32> states;
    prototype.GetImageStates(states);
    for (const i32 state : states) {
        try {
            image.SetImage(prototype.GetImage(state), state);
        } catch (const envExceptionX&) {
            std::string path;
            fsLocatorToNativePath(prototype.GetImage(state), path);
            DBG_WARNING("The key image %s cannot be loaded; state %d of the key shows none", path.c_str(),
                        state);
        }
        if (prototype.HasTransparency(state))
            image.SetTransparency(prototype.GetTransparency(state), state);
        if (prototype.HasTransparencyMap(state))
            image.MakeTransparencyMap(prototype.GetTransparencyMap(state), state);
        if (prototype.GetShowText())
            text.SetText(caption, state);
    }
    if (prototype.GetShowText())
        for (const auto& [state, rgb] : prototype.GetStateTextColors())
            text.SetTextColor(rgb, state);
    window->SetState(guiStateIdle);
    window->SetEnabled(prototype.IsKeyEnabled());
    text.SetEnabled(prototype.IsKeyTextEnabled());
    // A key set up again is already a child: adding it twice would have the container delete it twice.
    if (window->GetParent() != this)
        guiWindowMgr::AddChildWindow(window, this);
    window->SetPosition(position);
    text.SetPosition({prototype.GetTextOffsetX(), prototype.GetTextOffsetY(), text.GetPosition().z});
}
