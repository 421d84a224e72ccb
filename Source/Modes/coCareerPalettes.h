#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Ma/maVector.h"

#include <array>
#include <utility>
#include <vector>

// What the career builder shows beyond the editor's palettes: the piece counters of the track
// manipulation palette, the objectives palette, the medal and hint dialogs and the main palette's save
// button and feedback voice. The game screens install theirs; until then this one keeps what would be
// shown, answers every dialog with Cancel and never chooses "Menu".
class coCareerPalettes {
  public:
    virtual ~coCareerPalettes() = default;

    // The counter of a budget (a piece kind code or element index 6 to 9); a negative count hides it.
    virtual void SetBudgetCount(int index, i32 count) { counts.at(static_cast<size_t>(index)) = count; }
    virtual void HideBudgetCounts() { counts.fill(-1); }
    // The track manipulation palette forgets its selected piece.
    virtual void ForgetSelectedPiece() {}
    virtual void ClearObjectives() { objectives.clear(); }
    // Row 0 the title, then the win objectives, each with whether it is met.
    virtual void SetObjectives(const std::vector<std::pair<envString, bool>>& rows) { objectives = rows; }
    // The medal question at that level with its text: 1 for Ok, 2 otherwise; `menu` tells whether it
    // ended through its "Menu" button.
    virtual i32 RunMedalDialog(i32 level, const envString& text, bool& menu) {
        medals.emplace_back(level, text);
        menu = false;
        return 2;
    }
    virtual void ShowHint(const envString& text) { hints.push_back(text); }
    // Whether the objectives say which key shows the hint.
    virtual void ShowHintKey(bool shown) { hintKeyShown = shown; }
    // The numbers over the props that objectives name by them, at their screen points; none hides them.
    virtual void SetPropMarks(const std::vector<std::pair<maVector2d, i32>>& marks) { propMarks = marks; }
    virtual void EnableSaveButton() {}
    virtual void AllowFeedbackVoice(bool allowed) { voiceAllowed = allowed; }

    std::array<i32, 16> counts{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::vector<std::pair<envString, bool>> objectives;
    std::vector<std::pair<i32, envString>> medals;
    std::vector<envString> hints;
    bool hintKeyShown = false;
    std::vector<std::pair<maVector2d, i32>> propMarks;
    bool voiceAllowed = true;
};

coCareerPalettes& coGetCareerPalettes();
// Not owned; null restores the recording default.
void coSetCareerPalettes(coCareerPalettes* palettes);
