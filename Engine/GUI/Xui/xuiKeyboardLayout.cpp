#include "Engine/GUI/Xui/xuiKeyboardLayout.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"

#include <algorithm>
#include <memory>

namespace {

constexpr u32 kCharacterSetNumber = 32;

} // namespace

void xuiKeyboardLayout::SetStandardLayoutSize(i32 width, i32 height) {
    m_width = width;
    m_height = height;
}

i32 xuiKeyboardLayout::GetCharacterCount() const {
    if (m_characterSet.GetComponentCount() == 0)
        return 0;
    try {
        const gfTextSet set(m_characterSet, kCharacterSetNumber, true);
        return static_cast<i32>(set.GetTexts().size());
    } catch (const envExceptionX&) {
        Warn();
        return 0;
    }
}

envString xuiKeyboardLayout::GetCharacter(i32 index) const {
    if (m_characterSet.GetComponentCount() == 0 || index < 0)
        return {};
    try {
        const gfTextSet set(m_characterSet, kCharacterSetNumber, true);
        return set.GetText(static_cast<u32>(index));
    } catch (const envExceptionX&) {
        Warn();
        return {};
    }
}

void xuiKeyboardLayout::Warn() const {
    if (m_warned)
        return;
    m_warned = true;
    std::string path;
    fsLocatorToNativePath(m_characterSet, path);
    DBG_WARNING("The character set %s cannot be read; its keys are left out", path.c_str());
}

std::vector<xuiPlacedKey> xuiKeyboardLayoutGrid::PlaceKeys() const {
    std::vector<xuiPlacedKey> keys;
    if (m_columns < 1 || m_layout.GetLayoutDirection() != xuiLeftToRight)
        return keys;
    const i32 count = m_layout.GetCharacterCount();
    if (count <= 0)
        return keys;
    const i32 rows = std::max(count / m_columns, 1);
    const auto columnWidth = static_cast<f32>(m_layout.GetStandardLayoutWidth() / m_columns);
    const auto rowHeight = static_cast<f32>(m_layout.GetStandardLayoutHeight() / rows);
    keys.reserve(static_cast<size_t>(count));
    for (i32 i = 0; i < count; ++i) {
        const i32 column = i % m_columns;
        const i32 row = i / m_columns;
        keys.push_back({m_layout.GetCharacter(i),
                        {static_cast<f32>(column) * columnWidth + m_offset.x,
                         static_cast<f32>(row) * rowHeight + m_offset.y, m_offset.z}});
    }
    return keys;
}
