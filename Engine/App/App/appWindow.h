#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Env/envTypes.h"

class appApplication;

// The program's one top-level window: created by Run, then looping until quit is set. Made by the
// application's constructor and reachable through appGetWindow while it lives.
class appWindow {
  public:
    appWindow();
    ~appWindow();
    appWindow(const appWindow&) = delete;
    appWindow& operator=(const appWindow&) = delete;

    // Creates the window (envInitX "app" when it cannot), dispatches start, loops, dispatches stop.
    void Run(appApplication& application);
    // The loop ends after the message or frame in progress.
    void RequestQuit() { m_quit = true; }
    bool IsQuitRequested() const { return m_quit; }
    // The system ends the program: the application leaves without asking.
    void RequestEndSession() { m_endingSession = true; }
    bool IsEndingSession() const { return m_endingSession; }
    // Position and client size; applied at once when the window exists.
    void SetRect(i32 x, i32 y, i32 width, i32 height);
    // Covers the whole screen, or goes back to the window's rectangle; asked before the window exists, the
    // window is made that way.
    void SetFullScreen(bool fullScreen);
    void SetTitle(const envString& title);
    // The icon from 4-byte R, G, B, A pixels, rows top first; nothing before the window exists.
    void SetIcon(i32 width, i32 height, const u8* rgba);
    // Restores the window when it is minimised and brings it to the front; nothing before it exists.
    void BringToFront();

    i32 GetX() const { return m_x; }
    i32 GetY() const { return m_y; }
    i32 GetWidth() const { return m_width; }
    i32 GetHeight() const { return m_height; }
    const envString& GetTitle() const { return m_title; }

  private:
    void Create();
    void Loop(appApplication& application);

    i32 m_x = 20;
    i32 m_y = 20;
    i32 m_width = 640;
    i32 m_height = 480;
    bool m_fullScreen = false;
    bool m_quit = false;
    bool m_endingSession = false;
    envString m_title{"Kestrune Window"};
};

// Called on every set-cursor message; the GUI pointer sets its image there.
using appCursorHook = void (*)();

// The window object, null while there is none.
appWindow* appGetWindow();
// Chooses the ANSI or wide text calls from the OS kind: ANSI for the 9x kinds 0, 1 and 4. This
// platform is always kind 6, so only the wide branch exists.
void appSelectApi();
bool appUsesAnsiApi();
bool appIsAnsiOSKind(u32 kind);
// Handles the waiting messages and returns when none is left; while the application is suspended it
// waits, so it returns only once the application is active again.
void appPumpMessages();
// The accessibility setting is the desktop's business here: nothing to change, success (0).
u32 appDisableStickyKeys();
bool appIsSuspended();
// The window was told that the system ends the program.
bool appIsEndingSession();
// Mouse positions in screen coordinates (full screen, the default) or client coordinates (a window).
void appSetMouseScreenCoords(bool screen);
void appSetCursorHook(appCursorHook hook);
