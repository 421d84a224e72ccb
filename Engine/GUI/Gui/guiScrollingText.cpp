#include "Engine/GUI/Gui/guiScrollingText.h"

guiScrollingText::guiScrollingText() : m_texts(1) {}

void guiScrollingText::SetFirstVisibleChar(i32 index, i32 state) {
    if (GetWordWrap() != 0) {
        m_firstVisible = 0;
        return;
    }
    m_firstVisible = index < 0 ? 0 : index;
    if (!IsEffectivelyVisible() || !FindRecord(state))
        return;
    i32 width = 0, height = 0;
    GetTextureSize(width, height);
    RenderSingleText(GetFont(state), GetText(state), GetTextColor(state), width, height, state);
    ApplyTile(state);
}

void guiScrollingText::SetWordWrap(i32 flag) {
    if (flag != 0)
        m_firstVisible = 0;
    guiText::SetWordWrap(flag);
}

// Every drawing of the line starts at the first visible character, a state drawn again on showing or
// on a new text as well as a scroll: otherwise a field scrolled while hidden shows its start.
void guiScrollingText::RenderTexture(const std::vector<g2dFont>& fonts, const std::vector<envString>& texts,
                                     const std::vector<i32>& offsets,
                                     const std::vector<g3dTextColour>& colours, i32 width, i32 height,
                                     i32 state) {
    m_texts = texts;
    if (m_firstVisible != 0 && !m_texts.empty()) {
        const envString& line = m_texts[0];
        const u32 length = line.GetLength();
        if (length < static_cast<u32>(m_firstVisible) + 1)
            m_firstVisible = 0;
        else
            m_texts[0] =
                envString(static_cast<u32>(m_firstVisible), length - static_cast<u32>(m_firstVisible), line);
    }
    guiText::RenderTexture(fonts, m_texts, offsets, colours, width, height, state);
}
