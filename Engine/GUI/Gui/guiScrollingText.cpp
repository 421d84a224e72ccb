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

void guiScrollingText::RenderSingleText(g2dFont font, const envString& text, const g3dTextColour& colour,
                                        i32 width, i32 height, i32 state) {
    const u32 length = text.GetLength();
    if (m_firstVisible != 0 && length < static_cast<u32>(m_firstVisible) + 1)
        m_firstVisible = 0;
    const u32 first = static_cast<u32>(m_firstVisible);
    guiText::RenderSingleText(font, first == 0 ? text : envString(first, length - first, text), colour, width,
                              height, state);
}

void guiScrollingText::RenderTexture(const std::vector<g2dFont>& fonts, const std::vector<envString>& texts,
                                     const std::vector<i32>& offsets,
                                     const std::vector<g3dTextColour>& colours, i32 width, i32 height,
                                     i32 state) {
    m_texts = texts;
    guiText::RenderTexture(fonts, texts, offsets, colours, width, height, state);
}
