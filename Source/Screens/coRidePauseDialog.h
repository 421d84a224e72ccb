#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Source/Screens/coDialogFrameFunction.h"
#include "Source/Settings/coRideSettingsRecord.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include <array>
#include <functional>
#include <vector>

class guiButton;
class guiCheckbox;
class guiRadioGroup;
class guiTableBox;
class coTrackColorPicker;

// The ride settings ("uirp" with "uirp.tsf"): a column of buttons, each setting button opening its panel
// beneath it (one at a time), and the track colour picker beside the colour panel. One dialog serves the
// builder's options (mode 0), the career builder's (1), the ride request (2) and the ride's pause (3, with
// the exits "Build", "Load" and "Main"). Built hidden and disabled, without a frame function.
class coRidePauseDialog : public guiDialog {
  public:
    // Throws coScreenScriptX for a script that lacks one of the widgets, and the loaders' exceptions.
    coRidePauseDialog();
    ~coRidePauseDialog() override;

    void SetMode(int mode);
    void SetSettings(const coRideSettings& settings);
    // Reads the widgets back; after an Ok.
    void GetSettings(coRideSettings& settings) const;
    // 0 none, 1 "Build", 2 "Load", 3 "Main": the exit button that ended the run.
    int GetExitAction() const { return m_exitAction; }
    coTrackColorPicker* GetColourPicker() const { return m_picker; }
    // What the frames of the dialogs it opens (the options, the file browser) start with.
    void SetFrameStart(std::function<void()> start) { m_frameStart = std::move(start); }

    // Hiding closes the open panel; showing closes all of them and stacks the column.
    void SetVisible(bool visible) override;
    void Think() override;
    // Cancel takes back a colour preview; the picker closes and the seat stays within the train.
    void OnClose(bool accepted) override;

    // Opens the panel (0 to 7), or closes the open one for -1 or its own index.
    void ShowPanel(int index);
    int GetPanelIndex() const { return m_panelIndex; }
    // Stacks the shown windows of the column from the top and stretches the rails beside them.
    void Relayout();
    void RefreshTrackColorList();

  private:
    guiTableBox* MakeList(const char* scrollBox);
    void FillCarTypes();
    void FillFanfares();
    void KeepSeatWithinTrain();
    void RunOptions();
    void ChooseMusicFile();
    void ThinkTrackColours();

    int m_panelIndex = -1;
    guiWindow* m_panel = nullptr;
    guiRadioGroup* m_camera = nullptr;
    guiTableBox* m_carTypes = nullptr;
    guiTableBox* m_fanfares = nullptr;
    guiRadioGroup* m_numCars = nullptr;
    guiRadioGroup* m_music = nullptr;
    guiRadioGroup* m_position = nullptr;
    guiRadioGroup* m_time = nullptr;
    guiRadioGroup* m_trackColor = nullptr;
    guiCheckbox* m_customize = nullptr;
    guiButton* m_options = nullptr;
    coTrackColorPicker* m_picker = nullptr;
    guiCheckbox* m_friction = nullptr;
    guiCheckbox* m_propCollisions = nullptr;
    std::array<guiButton*, 3> m_exits{};
    // The eight setting buttons, in panel order.
    std::array<guiButton*, 8> m_panelButtons{};
    int m_exitAction = 0;
    std::vector<guiWindow*> m_layout;
    std::vector<guiWindow*> m_panels;
    g2dFont m_listFont;
    fsLocator m_musicFile;
    int m_mode = 0;
    // The track's colours when the settings were set: what Cancel puts back after a preview.
    coColorScheme m_openingColours;
    std::function<void()> m_frameStart = [] {};
};

// A frame of the dialog's run: the dialog frame over the world as it stands, game time still.
class coRidePauseDialogFunction : public coDialogFrameFunction {
  public:
    explicit coRidePauseDialogFunction(std::function<void()> frameStart)
        : coDialogFrameFunction(std::move(frameStart), false) {}
};
