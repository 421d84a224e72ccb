#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"

class guiImage;
class guiTableBox;
class guiText;
class xuiScrollBox;

// The career builder's panel at the left edge listing the mission's objectives, a row each, red while
// unmet and green once met, scrolled by the slider at its left when they are more than it shows; under
// them the line naming the hint key. Its tab (or key 14) slides it out of sight and back.
class coObjectivesPalette : public guiContainer {
  public:
    // Where the panel stands slid out.
    static constexpr f32 kCollapsedX = -255.0f;

    coObjectivesPalette();
    ~coObjectivesPalette() override;

    // A row at or past the count appends one row; an unchanged text and colour is not drawn again.
    void SetObjective(i32 row, const envString& text, bool met);
    // Every row goes and the list is at its top again.
    void ClearObjectives();
    // The line about the hint key, for a mission that has a hint.
    void ShowHintKey(bool shown);
    // True slides out only a panel at x 0; false brings back only a panel this call slid out.
    void SetCollapsed(bool collapse);
    // The tab or key 14 toggles the position, leaving the collapsed flag alone.
    void Think() override;

    guiTableBox* GetObjectivesBox() const { return m_box; }
    guiImage* GetTab() const { return m_tab; }
    xuiScrollBox* GetScrollBox() const { return m_scroll; }
    guiText* GetHintKey() const { return m_hintKey; }

  private:
    void MoveTo(f32 x);

    bool m_collapsed = false;
    g2dFont m_font;
    guiTableBox* m_box = nullptr;
    xuiScrollBox* m_scroll = nullptr;
    guiText* m_hintKey = nullptr;
    guiImage* m_tab = nullptr;
};
