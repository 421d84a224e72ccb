#pragma once
#include "Engine/Platform/Window/plWindowHost.h"

#include <deque>
#include <functional>
#include <vector>

// The window host of tests: a queue of injected messages and a record of what was asked of the window.
class plTestWindowHost : public plWindowHost {
  public:
    bool CreateWindow(i32 x, i32 y, i32 width, i32 height, const std::u16string& title,
                      bool fullScreen) override;
    bool HasWindow() const override { return m_created; }
    void SetWindowRect(i32 x, i32 y, i32 width, i32 height) override;
    void SetWindowTitle(const std::u16string& title) override;
    void SetWindowIcon(i32 width, i32, const u8*) override { m_iconWidth = width; }
    void SetFullScreen(bool fullScreen) override { m_fullScreen = m_created && fullScreen; }
    bool IsFullScreen() const override { return m_fullScreen; }
    void ClientToScreen(i32& x, i32& y) override;
    bool IsMinimized() const override { return m_minimized; }
    void RestoreWindow() override { m_minimized = false; }
    void RaiseWindow() override { ++m_raises; }

    bool PeekMessage(plMessage& message) override;
    // With an empty queue, runs the wait handler (time passing while blocked); a queue still empty
    // then throws std::logic_error, since a real wait would never end.
    i32 GetMessage(plMessage& message) override;
    void TranslateMessage(const plMessage& message) override;
    i64 DefaultProcedure(const plMessage& message) override;
    void InjectInput(const plInjectedInput& input) override { m_injected.push_back(input); }

    void Inject(const plMessage& message) { m_queue.push_back(message); }
    void SetWaitHandler(std::function<void()> handler) { m_waitHandler = std::move(handler); }
    // The next count GetMessage calls fail with -1 (and leave a Close in the out record).
    void FailNextGets(u32 count) { m_failingGets = count; }
    void SetCreateFails(bool fails) { m_createFails = fails; }
    // The user minimises the window.
    void Minimize() { m_minimized = m_created; }

    i32 GetX() const { return m_x; }
    i32 GetY() const { return m_y; }
    i32 GetWidth() const { return m_width; }
    i32 GetHeight() const { return m_height; }
    const std::u16string& GetTitle() const { return m_title; }
    i32 GetIconWidth() const { return m_iconWidth; }
    u32 GetWaitCount() const { return m_waits; }
    u32 GetRaiseCount() const { return m_raises; }
    size_t GetQueueSize() const { return m_queue.size(); }
    const std::vector<plInjectedInput>& GetInjectedInput() const { return m_injected; }

  private:
    std::deque<plMessage> m_queue;
    std::vector<plInjectedInput> m_injected;
    std::function<void()> m_waitHandler;
    u32 m_failingGets = 0;
    u32 m_waits = 0;
    u32 m_raises = 0;
    bool m_minimized = false;
    bool m_createFails = false;
    bool m_created = false;
    bool m_fullScreen = false;
    i32 m_x = 0;
    i32 m_y = 0;
    i32 m_width = 0;
    i32 m_height = 0;
    i32 m_iconWidth = 0;
    std::u16string m_title;
};
