#pragma once
#include "Source/Modes/coEditorHost.h"

class coManipulatePalette;

// The editor's view on the builder's palettes: the piece palette's and the top bar's buttons, the
// selection's state, the coaster's name, feedback, the grid and the ride statistics, the prop catalogue,
// the tool box beside the selection and the list of a prop's animations. The other dialogs and the dock
// palette keep the default answers until their screens exist. The application installs it while the
// palettes exist.
class coScreenEditorHost : public coEditorHost {
  public:
    std::string TakeReleasedTrackButton() override;
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
