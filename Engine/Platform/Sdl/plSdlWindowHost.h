#pragma once
#include "Engine/Platform/Window/plWindowHost.h"

#include <deque>
#include <functional>

struct SDL_Window;
union SDL_Event;

// The window host on SDL2: one SDL window, and SDL's events translated into window messages on this
// thread only (no event watch or callback ever dispatches, so exceptions leave through our own loop).
class plSdlWindowHost : public plWindowHost {
  public:
    plSdlWindowHost() = default;
    ~plSdlWindowHost() override;
    plSdlWindowHost(const plSdlWindowHost&) = delete;
    plSdlWindowHost& operator=(const plSdlWindowHost&) = delete;

    bool CreateWindow(i32 x, i32 y, i32 width, i32 height, const std::u16string& title,
                      bool fullScreen) override;
    bool HasWindow() const override { return m_window != nullptr; }
    void SetWindowRect(i32 x, i32 y, i32 width, i32 height) override;
    void SetWindowTitle(const std::u16string& title) override;
    void SetFullScreen(bool fullScreen) override;
    bool IsFullScreen() const override;
    void ClientToScreen(i32& x, i32& y) override;
    bool IsMinimized() const override;
    void RestoreWindow() override;
    void RaiseWindow() override;

    bool PeekMessage(plMessage& message) override;
    i32 GetMessage(plMessage& message) override;
    void TranslateMessage(const plMessage& message) override;
    i64 DefaultProcedure(const plMessage& message) override;

    // The window, for the message boxes it owns; null before creation.
    void InjectInput(const plInjectedInput& input) override;
    void SetWindowIcon(i32 width, i32 height, const u8* rgba) override;
    SDL_Window* GetSdlWindow() const { return m_window; }
    // The window is made hidden, so that the boxes of the start stand alone; it is shown (and raised)
    // once it has a picture to show: when the display starts, or a movie plays in it.
    void ShowWindow();
    bool IsShown() const;
    // Called when the window has lost its picture (uncovered, or mapped again) and nothing draws anew
    // while the game waits unfocused; empty for none.
    void SetRepaint(std::function<void()> repaint) { m_repaint = std::move(repaint); }

  private:
    void Translate(const SDL_Event& event);
    void TranslateKey(const SDL_Event& event);
    void TranslateText(const SDL_Event& event);
    void PushMouse(plMessageKind kind, i32 x, i32 y, i32 button);
    bool TakeQueued(plMessage& message);
    // A second instance asked this one to show itself: restore the window and bring it to the front.
    void ServeRaiseRequest();

    SDL_Window* m_window = nullptr;
    bool m_videoStarted = false;
    // The last key down was a system key (Alt held): the text SDL sends for it is not typed.
    bool m_systemKeyDown = false;
    bool m_endSessionSent = false;
    std::deque<plMessage> m_queue;
    std::function<void()> m_repaint;
};

// The Windows virtual key of an SDL key code (with its scan code for letters and digits of layouts
// whose key codes are not ASCII); 0 for keys that have none.
u32 plSdlVirtualKey(i32 keycode, i32 scancode);
