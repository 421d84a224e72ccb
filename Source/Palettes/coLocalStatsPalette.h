#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <vector>

class coCoasterPiece;
class guiText;

// The parameters of the selected piece in one text block, "Local Stats" of the script "uisp/uils",
// labelled from "uils.tsf".
class coLocalStatsPalette : public guiContainer {
  public:
    coLocalStatsPalette();
    ~coLocalStatsPalette() override;

    // Then the first two labels without values.
    void SetEnabled(bool enabled) override;
    // Slope, roll and length of any piece, then what its kind adds; three bare labels without one.
    void SetStats(const coCoasterPiece* piece);
    const guiText* GetText() const { return m_text; }

  private:
    guiText* m_text = nullptr;
    std::vector<envString> m_labels;
};
