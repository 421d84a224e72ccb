#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Source/Track/coCoasterDefinition.h"

#include <array>
#include <string>
#include <vector>

class coCoasterPiece;
class guiCheckbox;
class guiTableBox;
class guiText;

// The builder's piece palette from the script "uitm": buttons that add pieces, reshape the selected one,
// add or remove its element or tube, delete it or finish the coaster, and a row of six extra pieces that
// a check box shows. It holds no track logic: the editor tells it what the selection and the circuit
// allow and asks each frame which button was released. In missions it shows each piece kind's budget.
class coTrackManipPalette : public guiContainer, public coInversionListener {
  public:
    static constexpr i32 kBudgetCount = 16;

    // What the editor's selection and circuit allow.
    struct PieceState {
        bool circuitEmpty = true;
        // The selection is a track piece or the loading dock.
        bool pieceContext = false;
        const coCoasterPiece* piece = nullptr;
        bool pieceIsFirst = false;
        i32 tube = 0;
        // 0 none, 1 chain lift, 2 brakes, 3 accelerator, 4 retarder.
        i32 element = 0;
        bool trackCollides = false;
        bool finishAllowed = false;
        bool circuitClosed = false;
        bool deleteAllowed = false;
        bool pieceEditable = true;
    };

    coTrackManipPalette();
    ~coTrackManipPalette() override;

    // False disables every direct child and forgets the piece; true applies the enabling rules.
    void SetEnabled(bool enabled) override;
    // Keeps what the rules need of the piece's kind, never the piece itself, then applies the rules.
    void SetPieceState(const PieceState& state);
    // The coaster's own permission or the player's preference.
    void SetAllowInversions(bool allowed) override;
    void ClearSelectedPiece();

    // Which of each pair is on screen.
    const char* GetTubeButton() const;
    const char* GetChainButton() const;
    const char* GetBrakeButton() const;
    const char* GetAcceleratorButton() const;
    const char* GetRetarderButton() const;
    // The name of the button released this frame, empty when none.
    envString GetReleasedButtonName();
    // The image of the extra piece's placer that its key presses, or null: the placers sit in the
    // "Placers" table's cells, out of reach of a search among the palette's children.
    guiWindow* FindPlacer(const std::string& name) const;
    // Index 0 to 15 (outside: nothing, a warning). The availability acts at the next SetEnabled(true).
    void SetConstraintCount(i32 index, i32 count);
    void HideConstraintCounts();
    // One kind's count hidden and its budget lifted; outside 0 to 15 nothing.
    void HideConstraintCount(i32 index);

  private:
    guiWindow* Child(const char* name) const;
    void SetUsable(const char* name, bool enabled) const;
    void ShowInsteadOf(const char* shown, const char* hidden) const;
    void ApplyElementRules() const;
    void ApplyBudgets();
    void AddPlacers();
    void ShowPlacers() const;

    PieceState m_state;
    // The class facts of the selected piece.
    bool m_pieceStraightOrUp = false;
    bool m_inversionsAllowed = false;
    bool m_countsShown = false;
    std::array<guiText*, kBudgetCount> m_counters{};
    std::array<guiWindow*, kBudgetCount> m_budgetButtons{};
    std::array<u8, kBudgetCount> m_available{};
    guiText* m_longStraightCounter = nullptr;
    guiCheckbox* m_placerDisplayer = nullptr;
    guiWindow* m_placerBars = nullptr;
    guiTableBox* m_placers = nullptr;
    // The piece images inside the placer buttons: what the rules enable and clicks reach.
    std::vector<guiWindow*> m_placerImages;
    std::vector<envString> m_texts;
};
