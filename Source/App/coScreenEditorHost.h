#pragma once
#include "Source/Modes/coEditorHost.h"

// The editor's view on the builder's palettes: the piece palette's and the top bar's buttons, the
// selection's state, the coaster's name, feedback, the grid and the ride statistics, the dock chooser,
// the name entry, the questions, the error display and the ride's set-up. The manipulate and props
// palettes keep the default answers until their screens exist. The application installs it while the
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
    // A keyboard dialog whose screen cannot be made is reported and counts as cancelled.
    i32 RunKeyboardDialog(envString& text) override;
    i32 RunRidePauseDialog(int mode) override;

    // A question box over the editor, its texts by number; a box that cannot be made is reported and
    // counts as cancelled.
    i32 AskQuestion(u32 primary, u32 ok, u32 cancel) override;
    // Through the error handler, so the game's error display shows it.
    void ReportError(const envExceptionX& failure) override;
    void ShowInterface(bool shown) override;
};
