#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <set>
#include <vector>

class guiButton;
class guiText;
class snSoundJob2D;

// The builder's top bar from the script "uimp": the coaster's name, eight command buttons the modes
// poll, and a feedback box that tells the player what went wrong or what to do next, with a spoken hint
// the first time each of the messages 0 to 10 is shown.
class coMainPalette : public guiContainer {
  public:
    // The buttons in the order they are tested; GetPressedButton answers index + 2.
    static constexpr const char* kButtons[8] = {"Ride",   "Back", "Test", "Grid",
                                                "Camera", "Load", "Save", "Options"};
    static constexpr i32 kMessageCount = 18;

    coMainPalette();
    ~coMainPalette() override;

    void SetVisible(bool visible) override;
    void Think() override;
    // The buttons follow; "Save" only where the player may write the coaster's file.
    void SetEnabled(bool enabled) override;

    void SetCoasterName(const envString& name);
    // The name and its background again, after a ride's message took them away.
    void ShowCoasterName();
    envString GetCoasterName() const;
    // 2 "Ride" to 9 "Options" for the first button released this frame, 0 for none.
    i32 GetPressedButton() const;
    void ToggleGrid();
    void ApplyGrid();
    bool IsGridShown() const { return m_gridShown; }
    // Hidden and disabled while riding.
    void HideButtons(bool hide);
    void SetFeedbackVoice(bool allowed) { m_soundsAllowed = allowed; }
    // Messages outside 0 to 17 are refused with a warning.
    void ShowFeedback(i32 message, i32 seconds);
    void HideFeedback();
    i32 GetCurrentMessage() const { return m_message; }

  private:
    void PlayVoiceOver(i32 message);
    void UpdateSaveButton();

    guiText* m_name = nullptr;
    guiWindow* m_nameBackground = nullptr;
    std::vector<guiWindow*> m_buttons;
    guiButton* m_feedback = nullptr;
    snSoundJob2D* m_voice = nullptr;
    bool m_gridShown = false;
    bool m_soundsAllowed = true;
    i32 m_message = -1;
    f32 m_shownAt = 0.0f;
    f32 m_duration = 0.0f;
    std::vector<envString> m_texts;
    // Voices that could not be loaded: not tried again this run.
    std::set<i32> m_broken;
};
