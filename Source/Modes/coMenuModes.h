#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Source/Modes/coMenuScreens.h"
#include "Source/Modes/coMode.h"
#include "Source/Screens/coCareerMenu.h"
#include "Source/Screens/coLoadMenu.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Screens/coOptionsDialog.h"
#include "Source/Screens/coSelectTrackwrightMenu.h"

#include <memory>
#include <string>

class guiFunction;

// The modes whose frames show a full-screen menu. Each builds its screen on Enter, reacts to the first
// pressed button each frame (that frame draws nothing) or draws the plain menu frame, and deletes the
// screen on Exit.

// The menus stand on their picture: their records show the background, inert.
class coMenuMode : public coMode {
  protected:
    coMenuMode() { m_paletteStates.codes[coPaletteBackground] = 2; }
};

class coModeMainMenu : public coMenuMode {
  public:
    // How a display change is made: the display and everything on it rebuilt for the new mode. Throws
    // when the mode cannot be made.
    using DisplayRestart = std::function<void(i32 resolution, i32 depth)>;

    void Enter() override;
    void Think() override;
    void Exit() override;
    void DeleteScreens() override;

    coMainMenu* GetScreen() { return m_screen.get(); }
    void SetDisplayRestart(DisplayRestart restart) { m_restart = std::move(restart); }
    // How the options are run; the options dialog unless replaced.
    using OptionsRun = std::function<coOptionsResult()>;
    void SetOptionsRun(OptionsRun run) { m_runOptions = std::move(run); }

  private:
    void Build();
    void RunOptions();
    void RunCredits();
    void RestartDisplay();

    std::unique_ptr<coMainMenu> m_screen;
    OptionsRun m_runOptions = [this] {
        return coRunOptionsDialog(coOptionsFromMenu, true, ModalFrameStart());
    };
    bool m_displayChangePending = false;
    coOptionsResult m_newDisplay;
    DisplayRestart m_restart;
};

class coModeLoadMenu : public coMenuMode {
  public:
    void Enter() override;
    void Think() override;
    void Exit() override;
    void DeleteScreens() override;
    coLoadMenu* GetScreen() { return m_screen.get(); }
    // The selected coaster from the player's save folder; false, with the failure reported and the
    // world cleared, when it cannot be loaded.
    bool LoadSelectedCoaster();

  private:
    std::unique_ptr<coLoadMenu> m_screen;
};

// What the career builder is told when a mission starts.
class coCareerMissionTarget {
  public:
    virtual ~coCareerMissionTarget() = default;
    // Throws the loaders' exceptions for a mission that cannot be used.
    virtual void LoadMission(const fsLocator& file, i32 careerIndex) = 0;
    virtual void SetPlayerName(const envString& name) = 0;
    virtual void SetFinalMission(bool final) = 0;
};

class coModeCareerMenu : public coMenuMode {
  public:
    void Enter() override;
    void Think() override;
    void Exit() override;
    void DeleteScreens() override;
    void SetProfileName(const envString& name) { m_profile = name; }
    coCareerMenu* GetScreen() { return m_screen.get(); }

  private:
    // False when the mission could not be started (reported; the menu stays).
    bool StartSelectedMission(bool launch);

    std::unique_ptr<coCareerMenu> m_screen;
    envString m_profile;
    i32 m_careerIndex = 0;
    // "false" until a mission was launched.
    std::string m_lastTrackType = "false";
    std::string m_lastMission = "false";
};

// The choice of a Trackwright profile before the career: an existing one, or one made (or started
// afresh) by a typed name. The chosen name goes to the career menu mode, which is entered next.
class coModeSelectTrackwrightMenu : public coMenuMode {
  public:
    void Enter() override;
    void Think() override;
    void Exit() override;
    void DeleteScreens() override;
    coSelectTrackwrightMenu* GetScreen() { return m_screen.get(); }

  private:
    // The profile the player named, made or started afresh; empty when the player cancelled or the
    // files could not be made (reported).
    envString MakeProfile();
    // Whether the player agreed to start the existing profile again from the beginning.
    bool AskRestart(guiFunction& frame);
    void StartCareer(const envString& profile);

    std::unique_ptr<coSelectTrackwrightMenu> m_screen;
};

// A picture shown for a number of seconds, then until the main button is held. Nothing enters it yet.
class coModeSplashScreen : public coMode {
  public:
    void Enter() override;
    void Think() override;
    void Exit() override;
    void SetImage(const fsLocator& file, i32 seconds);

  private:
    fsLocator m_file;
    i32 m_duration = 0;
    i32 m_start = 0;
    std::unique_ptr<g2dImage> m_image;
};
