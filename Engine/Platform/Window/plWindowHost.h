#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// The window messages the engine handles, with the meanings of their Win32 namesakes.
enum class plMessageKind : u8 {
    Close,       // WM_CLOSE: the user asks to close the window
    ActivateApp, // WM_ACTIVATEAPP: value 1 when the application gains the focus, 0 when it loses it
    SetCursor,   // WM_SETCURSOR: the pointer is over the window and wants its image
    MouseMove,   // WM_MOUSEMOVE: x, y in client coordinates
    MouseDown,   // WM_xBUTTONDOWN: x, y in client coordinates; button 0 left, 1 right, 2 middle
    MouseUp,     // WM_xBUTTONUP: as MouseDown
    NcMouseMove, // WM_NCMOUSEMOVE: as MouseMove over the frame, x, y in screen coordinates
    NcMouseDown, // WM_NCxBUTTONDOWN: as MouseDown over the frame, x, y in screen coordinates
    NcMouseUp,   // WM_NCxBUTTONUP: as MouseUp over the frame, x, y in screen coordinates
    KeyDown,     // WM_KEYDOWN: value is the virtual key
    SysKeyDown,  // WM_SYSKEYDOWN: value is the virtual key; Alt held, F10, or Alt itself
    Char,        // WM_CHAR: value is one UTF-16 code unit
    EndSession,  // WM_ENDSESSION: the system ends the program; it leaves without asking
};

// One message. Positions are signed, so screens left of or above the primary one give negative x, y.
struct plMessage {
    plMessageKind kind = plMessageKind::Close;
    i32 x = 0;
    i32 y = 0;
    i32 button = 0;
    u32 value = 0;
    bool repeat = false;   // key down: the key was already down (auto-repeat)
    bool altDown = false;  // key down: Alt is held (bit 29 of a Windows key message's lParam)
    bool ctrlDown = false; // key down: Control is held (TranslateMessage reads it)
};

// Input a script plays into the program as the player's own. Pointer moves go through the cursor, which
// the 3D device places; the rest arrives here.
struct plInjectedInput {
    enum class Kind : u8 {
        Focus,       // the window gains the keyboard focus
        MouseButton, // button 0 left, 1 right, 2 middle, at the pointer
        Key,         // scanCode in the keyboard's DirectInput numbering
        Text,        // typed characters, UTF-8
        Close,       // the window's close button
        MouseMotion, // the mouse moved by (dx, dy), the pointer staying where it is
    };
    Kind kind = Kind::Focus;
    i32 button = 0;
    i32 dx = 0;
    i32 dy = 0;
    bool down = false;
    u8 scanCode = 0;
    std::string text;
};

// The one top-level window of the program and its message queue, shaped like the USER32 calls
// the engine makes on it.
class plWindowHost {
  public:
    virtual ~plWindowHost() = default;

    // Creates the window, OpenGL-capable and not resizable, with a client area of width x height at
    // screen position x, y, and brings it to the front; made full screen, it covers the whole display
    // from its first frame instead. False when it cannot be created.
    virtual bool CreateWindow(i32 x, i32 y, i32 width, i32 height, const std::u16string& title,
                              bool fullScreen) = 0;
    virtual bool HasWindow() const = 0;
    // Moves the window and sizes its client area; nothing without a window.
    virtual void SetWindowRect(i32 x, i32 y, i32 width, i32 height) = 0;
    virtual void SetWindowTitle(const std::u16string& title) = 0;
    // The window's icon from width x height pixels, 4 bytes each (R, G, B, A), rows top first.
    virtual void SetWindowIcon(i32 width, i32 height, const u8* rgba) = 0;
    // Full screen covers the desktop at its own resolution (the 3D device scales its picture to it);
    // nothing without a window.
    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual bool IsFullScreen() const = 0;
    // Adds the screen position of the client area's top-left corner.
    virtual void ClientToScreen(i32& x, i32& y) = 0;
    // IsIconic and ShowWindow(SW_RESTORE): whether the window is minimised, and bringing it back.
    virtual bool IsMinimized() const = 0;
    virtual void RestoreWindow() = 0;
    // SetForegroundWindow and SetActiveWindow: the window comes to the front with the keyboard focus.
    virtual void RaiseWindow() = 0;

    // PeekMessage with PM_REMOVE: true when a message was taken.
    virtual bool PeekMessage(plMessage& message) = 0;
    // GetMessage: waits until a message arrives; 1 when one was taken, -1 on error (no window).
    virtual i32 GetMessage(plMessage& message) = 0;
    // TranslateMessage: a key down that types a control character queues that Char next.
    virtual void TranslateMessage(const plMessage& message) = 0;
    // DefWindowProc: Alt+F4 queues a Close; everything else is ignored. Returns the result, 0.
    virtual i64 DefaultProcedure(const plMessage& message) = 0;
    // Queues the input as the system's own events, so that every translation of them runs.
    virtual void InjectInput(const plInjectedInput& input) = 0;
};

// The control character that TranslateMessage makes of a key down (Backspace 8, Tab 9, Enter 13,
// Escape 27, Ctrl+letter 1-26, Ctrl+Enter 10, Ctrl+Backspace 127); false for every other key.
bool plTranslateKeyToChar(const plMessage& keyDown, plMessage& charMessage);
// True for the system key that the default procedure turns into a close: F4 with Alt held.
bool plIsCloseKey(const plMessage& message);
