#pragma once
#include "Engine/Core/Env/envString.h"

#include <string>

class envExceptionX;

// Buttons of the main palette.
enum class coMainButton { None, Load, Save, Camera, Grid, Test, Ride, Options, Back };

// What the editor asks of the game's palettes, dialogs, error display and sound bank. The palette
// manager and the dialogs install the real one; until then the default has no buttons, cancels every
// dialog and plays the bank's sounds.
class coEditorHost {
  public:
    virtual ~coEditorHost() = default;

    // The track manipulation palette's button released this frame, by name; empty for none.
    virtual std::string TakeReleasedTrackButton() { return std::string(); }
    virtual coMainButton TakeMainButton() { return coMainButton::None; }

    virtual envString GetCoasterName() const { return envString(); }
    virtual void SetCoasterName(const envString&) {}
    // A feedback line of the main palette, for that many seconds.
    virtual void ShowMessage(u32 /*message*/, float /*seconds*/) {}
    virtual bool GetGridState() const { return false; }
    virtual void SetGridState(bool) {}
    virtual void SetGlobalStats(const float (&)[9]) {}

    // The question dialog: 1 for Ok, 2 otherwise.
    virtual i32 AskQuestion(u32 /*primary*/, u32 /*ok*/, u32 /*cancel*/) { return 2; }
    // The keyboard dialog, starting from the text: 1 with the typed text, 2 when cancelled.
    virtual i32 RunKeyboardDialog(envString& /*text*/) { return 2; }
    // The ride pause dialog in its mode (2 before a ride, 0 as the options): 1 for Ok.
    virtual i32 RunRidePauseDialog(int /*mode*/) { return 2; }
    // The in-game error display.
    virtual void ReportError(const envExceptionX&) {}
    // Cursor, HUD and tooltip shown or hidden together (Tab).
    virtual void ShowInterface(bool) {}

    virtual void PlaySound(int slot);
};

coEditorHost& coGetEditorHost();
// Not owned; null restores the default.
void coSetEditorHost(coEditorHost* host);
