#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"

#include <utility>
#include <vector>

class guiButton;

// The numbers over the props that a mission's objectives name by them, each centred on its prop's screen
// point. The HUD holds them behind every palette: they mark the world, so a panel's text stays readable
// over them. They take no clicks.
class coPropMarks : public guiContainer {
  public:
    // Deeper in the HUD than any palette.
    static constexpr f32 kDepth = 2.0f;

    coPropMarks();
    ~coPropMarks() override;

    // The marks beyond these are hidden; none hides them all.
    void SetMarks(const std::vector<std::pair<maVector2d, i32>>& marks);
    const std::vector<guiButton*>& GetMarks() const { return m_marks; }

  private:
    g2dFont m_font;
    std::vector<guiButton*> m_marks; // children, made as needed
};
