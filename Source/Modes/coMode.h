#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Screens/coQuestionTexts.h"

#include <functional>

class envString;
class g2dImage;
class g3dCamera;

// What a mode's frame needs of the running game: the quit question, the screenshot, the loading screen
// and the end of the frame. The application installs its host; tests install a recording one.
class coModeHost {
  public:
    virtual ~coModeHost() = default;
    // Runs the quit question showing the dialog text of that entry; true for OK. The question is
    // taken off the screen and the modal stack however the run ends.
    virtual bool AskQuitQuestion(u32 textEntry) = 0;
    // The same with a question that names something: the name in place of the text's "%s".
    virtual bool AskNamedQuestion(u32 textEntry, const envString& name) = 0;
    // The screenshot key was released at this frame's poll.
    virtual bool ScreenshotKeyReleased() = 0;
    // Writes the frame shown last as the next screenshot file; throws when it cannot.
    virtual void TakeScreenshot() = 0;
    virtual void HideLoadingScreen() = 0;
    // The start of a menu's plain frame: clear to black, poll the input when asked, update the pointer
    // and the GUI, the sound cues, the sound manager and the music keys.
    virtual void BeginMenuFrame(bool poll) = 0;
    // A 3D mode's GUI step: the pointer, the windows' think and draw, the GUI sound cues.
    virtual void UpdateGui() {}
    // The tooltip's step at the game time; only the building modes take it.
    virtual void UpdateToolTip(float /*time*/) {}
    // A 3D mode's world step before its render: lens-flare visibility and the sky from the camera, the
    // sound manager and the music keys at the game time.
    virtual void UpdateScene(g3dCamera& /*camera*/, float /*time*/) {}
    // Scene update, 3D frame and present; the overlay, when given, is drawn at (0, 0) first.
    virtual void RenderFrame(g3dCamera* camera, g2dImage* overlay) = 0;
    // A screen's own modal frame begins: the run's share of it (a limited run's count, injected input).
    virtual void OnModalFrame() {}
};

// Not owned; null uninstalls.
void coSetModeHost(coModeHost* host);
coModeHost& coGetModeHost();

// The base of every game mode: the result the mode manager reads after Think, and the frame services
// every mode shares. Every mode hears the quit request; the current one asks at its next frame.
class coMode : public appFlowEventHandler {
  public:
    // What the mode manager does after Think.
    enum Result : i32 { Stay = 0, Switch = 1, LeaveAndDelete = 2, Leave = 3 };

    coMode() = default;

    // Every mode hears the window's close; the current one takes it, also while it waits to be entered
    // (the close came as the modes changed hands).
    void OnQuitRequest(appQuitRequestEvent*) override;

    virtual void Think() = 0;
    virtual void Enter() = 0;
    virtual void Exit() = 0;
    // Whether the mode holds unsaved work (the quit question then warns of it).
    virtual bool IsModified() { return false; }
    // Work of the mode changed from over it (a ride's settings); modes that keep no work ignore it.
    virtual void MarkModified() {}
    // Deletes the screens the mode owns, entered or not: the GUI's shut-down comes next.
    virtual void DeleteScreens() {}

    i32 GetResult() const { return m_result; }
    void SetResult(i32 result) { m_result = result; }
    void SetClockFrozen(bool frozen) { m_clockFrozen = frozen; }
    // The frame start of a menu dialog's modal loop: the quit question (throws coModeExitX on OK) and the
    // screenshot key, without the clock's tick, so game time stands still while the dialog is up.
    void BeginModalFrame();
    // What a screen's modal frame starts with over this mode: the host's share of the frame, the window's
    // messages, then BeginModalFrame.
    std::function<void()> ModalFrameStart();

  protected:
    // Whether the mode below this one on the stack holds unsaved work: a ride or a tool run over the
    // builder holds the builder's work, which leaving the game loses all the same.
    bool IsModifiedBelow() const;
    // The mode below this one on the stack holds unsaved work from now on.
    void MarkModifiedBelow() const;
    // The first step of every Think: the quit question (throws coModeExitX on OK), the screenshot key,
    // the frame clock.
    void BeginFrame();
    void EnterCommon();
    void ExitCommon();
    // The last step of a Think; a null camera draws no world.
    void RenderFrame(g3dCamera* camera);
    // The frame of a menu whose buttons did nothing: the menu's start of frame, then no world.
    void PlainMenuFrame(bool poll = true);

    // Drawn at (0, 0) before the 3D frame while set; not owned.
    g2dImage* m_overlay = nullptr;
    // How the mode shows each palette: applied on entry, saved on exit.
    coPaletteStates m_paletteStates;

  private:
    i32 m_result = Stay;
    u8 m_exitRequested = 0;
    u8 m_clockFrozen = 0;
};
