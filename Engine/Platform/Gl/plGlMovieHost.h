#pragma once
#include "Engine/Platform/Media/plMovieHost.h"

#include <map>

class plSdlWindowHost;
struct SDL_Window;

// Pictures drawn as one textured quad in the window's OpenGL context, letterboxed to the window, then
// shown. A context is made for the movie when the window has none current.
class plGlVideoSink : public plVideoSink {
  public:
    explicit plGlVideoSink(plSdlWindowHost& window) : m_window(window) {}
    ~plGlVideoSink() override;

    bool Begin(u32 width, u32 height) override;
    void Present(const plVideoFrame& frame) override;
    void End() override;

  private:
    plSdlWindowHost& m_window;
    SDL_Window* m_target = nullptr;
    void* m_context = nullptr;
    u32 m_texture = 0;
    u32 m_width = 0;
    u32 m_height = 0;
};

// The real host on SDL: waits pump the window's events into SDL's queue and sleep; keys are read from
// SDL's keyboard state and from the key presses still queued.
class plGlMovieHost : public plMovieHost {
  public:
    explicit plGlMovieHost(plSdlWindowHost& window) : m_sink(window) {}

    plVideoSink& GetVideoSink() override { return m_sink; }
    void Wait(u32 milliseconds) override;
    bool GetAsyncKeyState(u32 virtualKey) override;

  private:
    plGlVideoSink m_sink;
    // Per key, the queue time of the last press counted, so that each press counts once.
    std::map<u32, u32> m_lastPressTimes;
};
