#pragma once
#include "Source/Modes/coEditorHost.h"

class coManipulatePalette;

// The editor's view on the builder's palettes: the piece palette's and the top bar's buttons, the
// selection's state, the coaster's name, feedback, the grid and the ride statistics, the dock chooser,
// the prop catalogue, the tool box beside the selection, the list of a prop's animations, the name entry,
// the questions, the error display, Tab's hiding and the ride's set-up. The application installs it while the
// palettes exist.
class coScreenEditorHost : public coEditorHost {
  public:
    std::string TakeReleasedTrackButton() override;
    std::string TakeChosenDock() override;
    coMainButton TakeMainButton() override;
    void ShowBuildPalettes(bool active) override;
    guiWindow* FindButton(const char* name) override;
    void UpdatePalettes(const coEditorPaletteState& state) override;
    envString GetCoasterName() const override;
    void SetCoasterName(const envString& name) override;
    void ShowMessage(u32 message, float seconds) override;
    bool GetGridState() const override;
    void SetGridState(bool shown) override;
    void SetGlobalStats(const float (&values)[9]) override;
    void SetPieceStats(const coRidePieceStats* stats, float rideTime) override;
    void SetSelectedPiece(const coCoasterPiece* piece) override;
    // A dialog whose screen cannot be made is reported and counts as cancelled.
    i32 AskQuestion(u32 primary, u32 ok, u32 cancel) override;
    i32 RunKeyboardDialog(envString& text) override;
    i32 RunRidePauseDialog(int mode) override;
    // Through the error handler, so the game's error display shows it.
    void ReportError(const envExceptionX& failure) override;
    void ReportFailures(const std::vector<std::exception_ptr>& failures) override;
    void ReportDamagedFile(u32 text, const fsLocator& file) override;
    void ShowInterface(bool shown) override;
    void SetPointerShape(i32 shape) override;

    coPropTemplate* TakeChosenProp() override;
    std::string TakeManipulateButton() override;
    std::string TakeManipulatePress() override;
    void ShowManipulatePalette(i32 palette, bool shown) override;
    i32 RunChooseAnimDialog(coProp& prop) override;

  private:
    // The palette of the selection shown beside it, the other three hidden.
    static void PlaceManipulatePalettes(const coEditorPaletteState& state);
    // The manipulate palette on screen and usable, or null.
    static coManipulatePalette* ShownManipulatePalette();
};
