#pragma once
#include "Engine/Platform/Media/plMovieSource.h"

#include <functional>
#include <set>
#include <vector>

// Where a movie's pictures go: full screen over the program's window.
class plVideoSink {
  public:
    virtual ~plVideoSink() = default;
    // Prepares for pictures of the size; false when there is nowhere to show them.
    virtual bool Begin(u32 width, u32 height) = 0;
    virtual void Present(const plVideoFrame& frame) = 0;
    virtual void End() = 0;
};

// What a playing movie needs of the program's window: its picture sink, a wait that keeps the window's
// events coming into its queue (none is taken out), and the keyboard.
class plMovieHost {
  public:
    virtual ~plMovieHost() = default;
    virtual plVideoSink& GetVideoSink() = 0;
    virtual void Wait(u32 milliseconds) = 0;
    // Whether the key (a virtual-key number) is down now or was pressed since the last query of it.
    virtual bool GetAsyncKeyState(u32 virtualKey) = 0;
};

// Keeps every picture presented, and counts the sessions.
class plRecordingVideoSink : public plVideoSink {
  public:
    bool Begin(u32 width, u32 height) override;
    void Present(const plVideoFrame& frame) override { m_frames.push_back(frame); }
    void End() override { ++m_ended; }

    const std::vector<plVideoFrame>& GetFrames() const { return m_frames; }
    u32 GetBegun() const { return m_begun; }
    u32 GetEnded() const { return m_ended; }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }

  private:
    std::vector<plVideoFrame> m_frames;
    u32 m_begun = 0;
    u32 m_ended = 0;
    u32 m_width = 0;
    u32 m_height = 0;
};

// The test host: a recording sink, keys that the test holds or presses, and waits that call the
// test back (to move its clocks and render its sound device) instead of sleeping.
class plTestMovieHost : public plMovieHost {
  public:
    plVideoSink& GetVideoSink() override { return m_sink; }
    void Wait(u32 milliseconds) override;
    bool GetAsyncKeyState(u32 virtualKey) override;

    plRecordingVideoSink& GetRecordingSink() { return m_sink; }
    void SetWaitHandler(std::function<void(u32 milliseconds)> handler) { m_waitHandler = std::move(handler); }
    void SetKeyDown(u32 virtualKey, bool down);
    // A press and release between two queries.
    void PressKey(u32 virtualKey) { m_pressed.insert(virtualKey); }
    u64 GetWaitedMilliseconds() const { return m_waited; }

  private:
    plRecordingVideoSink m_sink;
    std::function<void(u32)> m_waitHandler;
    std::set<u32> m_down;
    std::set<u32> m_pressed;
    u64 m_waited = 0;
};
