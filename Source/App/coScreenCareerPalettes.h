#pragma once
#include "Source/Modes/coCareerPalettes.h"

// The career builder's budgets, objectives, save button and feedback voice on the builder's palettes,
// and its medal and hint dialogs as question boxes. The application installs it while the palettes exist.
class coScreenCareerPalettes : public coCareerPalettes {
  public:
    void SetBudgetCount(int index, i32 count) override;
    void HideBudgetCounts() override;
    void ForgetSelectedPiece() override;
    void ClearObjectives() override;
    void SetObjectives(const std::vector<std::pair<envString, bool>>& rows) override;
    i32 RunMedalDialog(i32 level, const envString& text, bool& menu) override;
    void ShowHint(const envString& text) override;
    void ShowHintKey(bool shown) override;
    void SetPropMarks(const std::vector<std::pair<maVector2d, i32>>& marks) override;
    void EnableSaveButton() override;
    void AllowFeedbackVoice(bool allowed) override;
};
