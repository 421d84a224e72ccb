#pragma once
#include "Engine/Platform/Media/plMovieSource.h"
#include "Engine/Platform/Media/plStreamVoice.h"

#include <memory>
#include <string>

class plMovieHost;
class plSoundDevice;
class plTimeSource;

// One movie playing on the frame thread: its sound in a stream voice of the sound device (when one
// is open), its pictures presented through the host's sink as the sound's clock reaches them. Without
// sound, or should the sound stall, the time source keeps the pace.
class plMoviePlayback {
  public:
    // The sound device may be null or closed: the movie then plays silent. The source comes from the
    // installed media decoders.
    plMoviePlayback(plMovieHost& host, plSoundDevice* sound, plTimeSource& time);
    ~plMoviePlayback();
    plMoviePlayback(const plMoviePlayback&) = delete;
    plMoviePlayback& operator=(const plMoviePlayback&) = delete;

    // Opens the file; false when it cannot be read or has no pictures.
    bool Render(const std::string& path);
    // Starts the sink, the sound and the clock.
    void Run();
    // Plays on for up to timeout milliseconds; true with plMediaEventComplete once the pictures and
    // the sound have ended.
    bool WaitForEvent(u32 timeout, i32& code);
    // Ends the sink and the sound; the movie can be closed.
    void Stop();

  private:
    // Seconds since Run by the wall clock.
    f64 WallClock();
    f64 Clock();
    // Presents every picture that is due; true once everything has ended.
    bool Service();

    plMovieHost& m_host;
    plSoundDevice* m_sound;
    plTimeSource& m_time;
    std::unique_ptr<plMovieSource> m_source;
    std::unique_ptr<plStreamVoice> m_voice;
    bool m_rendered = false;
    bool m_running = false;
    bool m_sinkBegun = false;
    bool m_completed = false;
    u32 m_startTicks = 0;
};
