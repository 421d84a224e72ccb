#pragma once
#include "Engine/App/App/appApplication.h"
#include "Engine/App/App/appEventHandler.h"
#include "Source/App/coCommandLine.h"
#include "Source/App/coInjector.h"
#include "Source/Modes/coMode.h"
#include "Source/Modes/coModeStack.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class guiFunction;

// The game application: on start it builds the game (paths, preferences, every mode, display, input,
// GUI, audio) and reads the command line; each frame it runs the current mode; on stop it tears the game
// down. It owns every mode of the mode table.
class coApp : public appApplication, public appFlowEventHandler, private coModeHost {
  public:
    coApp();
    ~coApp() override;

    // Also makes the window full screen from its first frame unless the line asks for a window ("/w").
    void SetCommandLine(const std::string& line);
    // Frames to run before leaving as if the player had confirmed the quit (0: no end).
    void SetFrameLimit(u32 frames) { m_frameLimit = frames; }
    // Writes "first loading frame T ms", "mode N entered" and "menu ready T ms" (since the program's
    // start) to stderr.
    void SetTrace(std::chrono::steady_clock::time_point programStart) {
        m_trace = true;
        m_programStart = programStart;
    }
    // The frame shown last is kept for the caller when the run ends (a picture of the last frame).
    using LastFrameHook = std::function<void()>;
    void SetLastFrameHook(LastFrameHook hook) { m_lastFrame = std::move(hook); }
    // Called as each frame starts, modal frames included.
    void SetFrameStartHook(std::function<void()> hook) { m_frameStartHook = std::move(hook); }
    // Input played into every frame; a step that fails is reported on stderr and the game left.
    void SetInjector(std::shared_ptr<coInjector> injector) { m_injector = std::move(injector); }
    bool InjectionFailed() const { return m_injectionFailed; }
    // The seed of the game's random numbers; without one, every start draws a fresh sequence.
    void SetRandomSeed(std::optional<u32> seed) { m_randomSeed = seed; }

    void Update() override;
    void OnStart(appStartEvent*) override;
    void OnStop(appStopEvent*) override;
    void OnSuspend(appSuspendEvent*) override;
    void OnResume(appResumeEvent*) override;

    // The game world's side of the command line: session flags, the resolution preference, the ride mode.
    static void ApplyCommandLine(const coCommandLine& options);

  private:
    void CreateModes();
    void StopInputAndGui();
    void SetUpGui();
    // The arrow and wait pointers (coPointerArrow, coPointerWait) from the GUI folder, hot spot (2, 2); the
    // arrow shows at (320, 240).
    void CreateCursors();
    // The question box that shows every reported error inside the game, in the window tree.
    void StartErrorDisplay();
    static void StopErrorDisplay();
    // The dialog dimmer, the error display, the palettes and the menus' background; StopScreens takes down
    // whatever part of them was made.
    void StartScreens();
    static void StopScreens();
    // The display made anew in another mode, with everything that lives on it.
    void RestartDisplay(i32 resolution, i32 depth);
    static void FitWindowToDisplay(i32 resolution, bool windowed);
    void PlayIntroMovies();
    // The display in that mode, with vertical sync, triple buffering and gamma from the preferences; the
    // colour depth counts only full screen.
    void InitDisplay(i32 resolution, bool windowed, i32 depth);
    // Root 0's "icon.png" on the window.
    void SetWindowIcon();
    void StartAudio();
    static void StopAudio();
    void StartRide(const coCommandLine& options);
    void Trace(coMode* entered);
    i64 MillisecondsSinceStart() const;

    // The frame services of the modes.
    bool AskQuitQuestion(u32 textEntry) override;
    bool AskNamedQuestion(u32 textEntry, const envString& name) override;
    bool ScreenshotKeyReleased() override;
    void TakeScreenshot() override;
    void HideLoadingScreen() override;
    void BeginMenuFrame(bool poll) override;
    void UpdateGui() override;
    void UpdateToolTip(float time) override;
    void UpdateScene(g3dCamera& camera, float time) override;
    void RenderFrame(g3dCamera* camera, g2dImage* overlay) override;
    // One loop of a modal dialog: the frame with game time standing still.
    void ModalFrame();
    // A limited run ends, and a failed injected step quits, inside a dialog too: the run loop's quit
    // cancels every modal run.
    void OnModalFrame() override;
    // This frame's share of the injected input; false once a step has failed.
    bool PlayInjected();
    // Counts the frame; true once the frame limit of a test run is reached.
    bool FrameLimitReached();

    std::string m_commandLine;
    std::array<std::unique_ptr<coMode>, coModeTableSize> m_modes;
    u32 m_frameLimit = 0;
    u32 m_frames = 0;
    bool m_trace = false;
    bool m_audio = false;
    bool m_suspendPaused = false;
    bool m_menuReady = false;
    bool m_inputAndGui = false;
    bool m_guiUp = false;
    std::chrono::steady_clock::time_point m_programStart;
    // Where the frame being drawn began, for the trace's frame times.
    std::chrono::steady_clock::time_point m_frameStart;
    LastFrameHook m_lastFrame;
    std::function<void()> m_frameStartHook;
    std::shared_ptr<coInjector> m_injector;
    bool m_injectionFailed = false;
    std::optional<u32> m_randomSeed;
    // The screenshot key's release was taken at this poll.
    bool m_screenshotReleaseTaken = false;
    // The error display's modal frame.
    std::unique_ptr<guiFunction> m_errorFrame;
    // What the start has set up, undone in reverse by the stop (also after a start that failed).
    std::vector<std::function<void()>> m_teardown;
};
