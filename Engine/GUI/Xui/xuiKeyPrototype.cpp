#include "Engine/GUI/Xui/xuiKeyPrototype.h"

void xuiKeyPrototypeStandard::SetKeySize(i32 width, i32 height) {
    m_keyWidth = width;
    m_keyHeight = height;
}

void xuiKeyPrototypeStandard::SetTextOffset(f32 x, f32 y) {
    m_textOffsetX = x;
    m_textOffsetY = y;
}

const fsLocator& xuiKeyPrototypeStandard::GetImage(i32 state) const {
    static const fsLocator none;
    const auto found = m_images.find(state);
    return found == m_images.end() ? none : found->second;
}

void xuiKeyPrototypeStandard::GetImageStates(std::vector<i32>& states) const {
    states.clear();
    for (const auto& entry : m_images)
        states.push_back(entry.first);
}

f32 xuiKeyPrototypeStandard::GetTransparency(i32 state) const {
    const auto found = m_transparencies.find(state);
    return found == m_transparencies.end() ? 1.0f : found->second;
}

f32 xuiKeyPrototypeStandard::GetTransparencyMap(i32 state) const {
    const auto found = m_transparencyMaps.find(state);
    return found == m_transparencyMaps.end() ? 0.0f : found->second;
}
