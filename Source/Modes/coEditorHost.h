#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envString.h"

#include <exception>
#include <string>
#include <vector>

class coCoasterPiece;
class coObject;
class coProp;
class coPropTemplate;
class g3dCamera;
class envExceptionX;
class guiWindow;
struct coRidePieceStats;

// Buttons of the main palette.
enum class coMainButton { None, Load, Save, Camera, Grid, Test, Ride, Options, Back };

// What the palettes show of the editor's state, handed over every frame.
struct coEditorPaletteState {
    bool empty = true;
    // A piece or the dock is selected; the piece concerned is the first piece for the dock.
    bool pieceOrDock = false;
    const coCoasterPiece* piece = nullptr;
    bool isFirst = false;
    i32 element = 0;
    i32 tube = 0;
    bool canEdit = false;
    bool canDelete = false;
    bool closed = false;
    bool collides = false;
    bool canClose = false;
    bool testEnabled = false;
    bool rideEnabled = false;
    // The manipulate palette shown beside the selection (4 prop, 5 dock, 6 ring, 7 spot), 0 for none,
    // the selected object it stands beside and the camera that sees it.
    i32 manipulatePalette = 0;
    const coObject* selection = nullptr;
    g3dCamera* camera = nullptr;
};

// What the editor asks of the game's palettes, dialogs, error display and sound bank. The palette
// manager and the dialogs install the real one; until then the default has no buttons, cancels every
// dialog and plays the bank's sounds.
class coEditorHost {
  public:
    virtual ~coEditorHost() = default;

    // The track manipulation palette's button released this frame, by name; empty for none.
    virtual std::string TakeReleasedTrackButton() { return std::string(); }
    virtual coMainButton TakeMainButton() { return coMainButton::None; }
    // The button of the shown manipulate palette released this frame ("Rotate", "Translate",
    // "Choose Anim", "Delete"); empty for none.
    virtual std::string TakeManipulateButton() { return std::string(); }
    // "Rotate" or "Translate" of the shown manipulate palette when pressed or held this frame (the tools
    // start on the press); empty for none. Taking it gives up the button's hold on the mouse.
    virtual std::string TakeManipulatePress() { return std::string(); }
    // A manipulate palette (4 prop, 5 dock) hidden while its tool runs, and shown again afterwards with
    // its "Rotate" and "Translate" buttons idle.
    virtual void ShowManipulatePalette(i32 /*palette*/, bool /*shown*/) {}
    // The template of the prop clicked in the props palette this frame, or null.
    virtual coPropTemplate* TakeChosenProp() { return nullptr; }
    // The coaster type picked in the dock palette this frame; empty for none.
    virtual std::string TakeChosenDock() { return std::string(); }
    // The palettes of building shown as usual, or shown but inert while a tool runs.
    virtual void ShowBuildPalettes(bool /*active*/) {}
    // A palette button by name, for the keys that press it; null when there is none.
    virtual guiWindow* FindButton(const char* /*name*/) { return nullptr; }
    virtual void UpdatePalettes(const coEditorPaletteState&) {}

    virtual envString GetCoasterName() const { return envString(); }
    virtual void SetCoasterName(const envString&) {}
    // A feedback line of the main palette, for that many seconds.
    virtual void ShowMessage(u32 /*message*/, float /*seconds*/) {}
    virtual bool GetGridState() const { return false; }
    virtual void SetGridState(bool) {}
    virtual void SetGlobalStats(const float (&)[9]) {}
    // The statistics palette: the piece's own figures with the ride's time; null clears it.
    virtual void SetPieceStats(const coRidePieceStats*, float /*rideTime*/) {}
    // The local statistics palette: the selected piece's shape; null shows the labels alone.
    virtual void SetSelectedPiece(const coCoasterPiece*) {}

    // The list of the prop's animation events, beside the manipulate palette: 1 when one was picked (it
    // is the prop's active event from then on), 2 when cancelled.
    virtual i32 RunChooseAnimDialog(coProp& /*prop*/) { return 2; }
    // The question dialog: 1 for Ok, 2 otherwise.
    virtual i32 AskQuestion(u32 /*primary*/, u32 /*ok*/, u32 /*cancel*/) { return 2; }
    // The keyboard dialog, starting from the text: 1 with the typed text, 2 when cancelled.
    virtual i32 RunKeyboardDialog(envString& /*text*/) { return 2; }
    // The ride pause dialog in its mode (2 before a ride, 0 as the options): 1 for Ok.
    virtual i32 RunRidePauseDialog(int /*mode*/) { return 2; }
    // The in-game error display.
    virtual void ReportError(const envExceptionX&) {}
    // Failures of one action told together, in one box.
    virtual void ReportFailures(const std::vector<std::exception_ptr>& /*failures*/) {}
    // A file that cannot be read whole, named with its own text of the game's error texts.
    virtual void ReportDamagedFile(u32 /*text*/, const fsLocator& /*file*/) {}
    // Cursor, HUD and tooltip shown or hidden together (Tab).
    virtual void ShowInterface(bool) {}
    // The pointer's look: coPointerArrow or coPointerWait.
    virtual void SetPointerShape(i32 /*shape*/) {}

    virtual void PlaySound(int slot);
};

coEditorHost& coGetEditorHost();
// Not owned; null restores the default.
void coSetEditorHost(coEditorHost* host);
