#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

#include <set>
#include <string>

class snSoundJob2D;

// The main menu's widget tree from the script "uimm": six buttons that the main-menu mode polls. While
// the pointer rests on a button for more than a second, the button's voice-over plays, once per
// preferences file.
class coMainMenu : public guiContainer {
  public:
    // The buttons in the order they are tested; button i's voice-over is still to give while bool
    // preference coPrefFirstMenuHint + i is set.
    static constexpr const char* kButtons[6] = {"Build", "Load", "Trkwt", "Opt", "Cred", "Exit"};

    coMainMenu();
    ~coMainMenu() override;

    void Think() override;

  private:
    void PlayVoiceOver(i32 pref, const char* button);
    void UpdatePending();

    snSoundJob2D* m_voice = nullptr;
    bool m_pending = false;
    f32 m_lastThink = 0.0f;
    f32 m_hover = 0.0f;
    // Voices that could not be loaded: not tried again this run.
    std::set<std::string> m_broken;
};
