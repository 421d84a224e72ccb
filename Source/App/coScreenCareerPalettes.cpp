#include "Source/App/coScreenCareerPalettes.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Source/App/coModeDialog.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Palettes/coPropMarks.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coScreenScript.h"

namespace {

coTrackManipPalette* TrackManip() {
    return dynamic_cast<coTrackManipPalette*>(coPaletteManager::GetPalette(coPaletteTrackManip));
}
coObjectivesPalette* Objectives() {
    return dynamic_cast<coObjectivesPalette*>(coPaletteManager::GetPalette(coPaletteObjectives));
}
coMainPalette* Main() {
    return dynamic_cast<coMainPalette*>(coPaletteManager::GetPalette(coPaletteMain));
}

} // namespace

void coScreenCareerPalettes::SetBudgetCount(int index, i32 count) {
    coCareerPalettes::SetBudgetCount(index, count);
    if (coTrackManipPalette* palette = TrackManip()) {
        if (count < 0)
            palette->HideConstraintCount(index);
        else
            palette->SetConstraintCount(index, count);
    }
}

void coScreenCareerPalettes::HideBudgetCounts() {
    coCareerPalettes::HideBudgetCounts();
    if (coTrackManipPalette* palette = TrackManip())
        palette->HideConstraintCounts();
}

void coScreenCareerPalettes::ForgetSelectedPiece() {
    if (coTrackManipPalette* palette = TrackManip())
        palette->ClearSelectedPiece();
}

void coScreenCareerPalettes::ClearObjectives() {
    coCareerPalettes::ClearObjectives();
    if (coObjectivesPalette* palette = Objectives())
        palette->ClearObjectives();
}

void coScreenCareerPalettes::SetObjectives(const std::vector<std::pair<envString, bool>>& rows) {
    coCareerPalettes::SetObjectives(rows);
    if (coObjectivesPalette* palette = Objectives())
        for (size_t row = 0; row < rows.size(); ++row)
            palette->SetObjective(static_cast<i32>(row), rows[row].first, rows[row].second);
}

void coScreenCareerPalettes::ShowHintKey(bool shown) {
    coCareerPalettes::ShowHintKey(shown);
    if (coObjectivesPalette* palette = Objectives())
        palette->ShowHintKey(shown);
}

void coScreenCareerPalettes::SetPropMarks(const std::vector<std::pair<maVector2d, i32>>& marks) {
    coCareerPalettes::SetPropMarks(marks);
    if (coPropMarks* shown = coPaletteManager::GetPropMarks())
        shown->SetMarks(marks);
}

void coScreenCareerPalettes::EnableSaveButton() {
    if (coMainPalette* palette = Main())
        if (guiWindow* save = palette->FindChild("Save"))
            save->SetEnabled(true);
}

void coScreenCareerPalettes::AllowFeedbackVoice(bool allowed) {
    coCareerPalettes::AllowFeedbackVoice(allowed);
    if (coMainPalette* palette = Main())
        palette->SetFeedbackVoice(allowed);
}

i32 coScreenCareerPalettes::RunMedalDialog(i32 level, const envString& text, bool& menu) {
    menu = false;
    return coRunModeDialog<coQuestionDialog>(
        "Dialog",
        [&](coQuestionDialog& dialog) {
            dialog.SetPrimaryText(text);
            dialog.SetOkTextNum(coLabelYes);
            dialog.SetCancelTextNum(coLabelNo);
            const i32 answer = dialog.DoModal();
            menu = dialog.WasMenuChosen();
            return answer;
        },
        level);
}

void coScreenCareerPalettes::ShowHint(const envString& text) {
    coRunModeDialog<coQuestionDialog>("Dialog", [&](coQuestionDialog& dialog) {
        dialog.SetPrimaryText(text);
        dialog.SetOkTextNum(coLabelOk);
        coShowWidget(dialog.GetCancel(), false);
        return dialog.DoModal();
    });
}
