#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <vector>

class guiText;

// The summary of the whole pre-simulated ride in one text block, "Global Stats" of the script
// "uisp/uigs", labelled from "uigs.tsf".
class coGlobalStatsPalette : public guiContainer {
  public:
    coGlobalStatsPalette();
    ~coGlobalStatsPalette() override;

    // The ride statistics fields 0, 1, 2, 4, 8, 9, 10, 11 and 12, in that order: three speeds (shown
    // 0, 2, 1), two values as stored, three lengths and the ride time.
    void SetStats(f32 a, f32 b, f32 c, f32 d, f32 e, f32 f, f32 g, f32 h, f32 t);
    const guiText* GetText() const { return m_text; }

  private:
    guiText* m_text = nullptr;
    std::vector<envString> m_labels;
};
