#pragma once
#include "Engine/GUI/Gui/guiDialog.h"
#include "Source/Screens/coDialogFrameFunction.h"

#include <functional>
#include <map>
#include <string>

class guiCheckbox;
class guiRadioGroup;
class guiSlider;

// Who opens the options: the mode id that picks the music the dialog tries out live.
inline constexpr i32 coOptionsFromMenu = 0;
inline constexpr i32 coOptionsFromBuilder = 6;
inline constexpr i32 coOptionsFromRide = 11;

// The preferences ("uiod" with "uiod.tsf"): display resolution and colour depth, the music and sound
// switches and volumes, game and graphics options, one category group shown at a time. Gamma, the music of
// the caller's context, interface sounds and vertical sync are tried out live; Ok stores every control and
// saves the file, Cancel puts back what was tried out (and reloads the file after "Reset").
class coOptionsDialog : public guiDialog {
  public:
    // Throws coScreenScriptX for a script that lacks one of the widgets, and the loaders' exceptions.
    coOptionsDialog();

    void SetModeId(i32 id) { m_modeId = id; }
    i32 GetModeId() const { return m_modeId; }
    // The resolution, texture, sky, particle and vertical-sync options take effect only when the display
    // or the world is built: the main menu offers them, the ride settings do not.
    void EnableStartupOptions(bool enable);
    i32 DoModal() override;
    void OnClose(bool accepted) override;
    void Think() override;
    // True when the resolution or the colour depth preference differs from its value at opening.
    bool GetChangedDisplayMode(i32& resolution, i32& depth) const;
    // The resolution and colour depth preferences at opening.
    void GetOpeningDisplayMode(i32& resolution, i32& depth) const;
    // Selects the category button of that name and shows its group, as a click on it does.
    void ShowCategory(const std::string& name);
    // The caller's music switched off (stopped) or on (asked for again) as its box now says.
    void TryMusicSwitch(bool off);

    guiCheckbox* GetBox(const std::string& name) const;
    guiSlider* GetSlider(const std::string& container) const;
    guiRadioGroup* GetResolution() const { return m_resolution; }

  private:
    void FillControls();
    void StoreControls() const;
    void CheckBitDepth();
    void SelectCategoryGroup(const guiCheckbox* oldCategory);
    void ResetPreferences();

    i32 m_modeId = coOptionsFromMenu;
    bool m_reset = false;
    bool m_cancelled = false;
    bool m_startupOptions = true;
    // The box stopped the music; Cancel starts it again if it played at opening.
    bool m_musicStopped = false;
    guiRadioGroup* m_categories = nullptr;
    guiRadioGroup* m_resolution = nullptr;
    guiCheckbox* m_bitDepth = nullptr;
    guiWindow* m_resetButton = nullptr;
    guiContainer* m_crossbarDetail = nullptr;
    std::map<std::string, guiContainer*> m_groups;
    std::map<std::string, guiCheckbox*> m_boxes;
    std::map<std::string, guiSlider*> m_sliders;
    i32 m_openingResolution = 0;
    i32 m_openingDepth = 0;
    f32 m_openingGamma = 0.0f;
};

// A frame of the options' run: the dialog frame with gamma, the caller's music switch and volume and the
// interface sounds tried out from the controls as they stand.
class coOptionsDialogFunction : public coDialogFrameFunction {
  public:
    coOptionsDialogFunction(std::function<void()> frameStart, coOptionsDialog* dialog, bool clearScreen)
        : coDialogFrameFunction(std::move(frameStart), clearScreen), m_dialog(dialog) {}
    void SetLastGamma(f32 gamma) { m_lastGamma = gamma; }

  protected:
    void DrawOverlay() override;

  private:
    coOptionsDialog* m_dialog;
    f32 m_lastGamma = 0.0f;
};

// What a run of the options changed of the display.
struct coOptionsResult {
    i32 answer = 2;
    bool displayChanged = false;
    i32 resolution = 0;
    i32 depth = 0;
    // The mode the display was in when the dialog opened, to go back to should the new one fail.
    i32 previousResolution = 0;
    i32 previousDepth = 0;
};

// Makes the options dialog for that caller, runs it on frames that start with the caller's frame start and
// deletes it. Content that cannot be loaded is reported and the run ends as Cancel.
coOptionsResult coRunOptionsDialog(i32 modeId, bool startupOptions, std::function<void()> frameStart);
