#pragma once
#include "Engine/App/App/appWindow.h"

#include <memory>

// The program's application object: the game derives from it and supplies one frame in Update.
// It owns the window, made with the defaults (20, 20, 640 x 480, "Kestrune Window").
class appApplication {
  public:
    appApplication();
    virtual ~appApplication();
    appApplication(const appApplication&) = delete;
    appApplication& operator=(const appApplication&) = delete;

    // One frame; the loop calls it whenever no message waits and the application is active.
    virtual void Update() = 0;

    // Runs until quit: creates the window, dispatches start, loops, dispatches stop. Called once.
    void Run();
    void RequestQuit();
    void SetTitle(const envString& title);
    void PumpMessages();

    appWindow& GetWindow() { return *m_window; }

  private:
    std::unique_ptr<appWindow> m_window;
};
