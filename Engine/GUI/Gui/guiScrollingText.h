#pragma once
#include "Engine/GUI/Gui/guiScriptTargets.h"
#include "Engine/GUI/Gui/guiText.h"

// A text whose single line can be shown from a given character on, so that the end of a text longer
// than the window stays in view. Its first field is cut in every drawing.
class guiScrollingText : public guiText, public guiScrollingTextTarget {
  public:
    guiScrollingText();

    // With word wrap on the first visible character stays 0. A negative index counts as 0.
    void SetFirstVisibleChar(i32 index, i32 state);
    i32 GetFirstVisibleChar() const { return m_firstVisible; }
    // The texts last handed to RenderTexture.
    const std::vector<envString>& GetTextList() const { return m_texts; }

    void SetWordWrap(i32 flag) override;
    // Past the first field's end the first visible character goes back to 0. The text list keeps the
    // texts as drawn.
    void RenderTexture(const std::vector<g2dFont>& fonts, const std::vector<envString>& texts,
                       const std::vector<i32>& offsets, const std::vector<g3dTextColour>& colours, i32 width,
                       i32 height, i32 state) override;

  private:
    std::vector<envString> m_texts;
    i32 m_firstVisible = 0;
};
