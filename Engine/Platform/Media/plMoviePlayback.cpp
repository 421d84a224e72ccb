#include "Engine/Platform/Media/plMoviePlayback.h"

#include "Engine/Platform/Media/plMediaDecoders.h"
#include "Engine/Platform/Media/plMediaEvents.h"
#include "Engine/Platform/Media/plMovieHost.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sound/plSoundDevice.h"
#include "Engine/Platform/plServices.h"

#include <algorithm>
#include <cmath>

namespace {
// Sound held ahead of the cursor; the wait services it every few milliseconds.
constexpr f32 kRingSeconds = 1.0f;
// The sound may lag the wall clock by the output's latency; beyond this it is taken as stalled.
constexpr f64 kStallSeconds = 0.25;
// The longest sleep of one wait step, so that the sound stays filled and the keys are read.
constexpr u32 kStepMilliseconds = 10;
} // namespace

plMoviePlayback::plMoviePlayback(plMovieHost& host, plSoundDevice* sound, plTimeSource& time)
    : m_host(host), m_sound(sound), m_time(time), m_source(plGetMediaDecoders().CreateMovieSource()) {}

plMoviePlayback::~plMoviePlayback() {
    Stop();
}

bool plMoviePlayback::Render(const std::string& path) {
    m_rendered = m_source->Open(path);
    return m_rendered;
}

void plMoviePlayback::Run() {
    if (!m_rendered || m_running)
        return;
    m_running = true;
    m_completed = false;
    m_sinkBegun = m_host.GetVideoSink().Begin(m_source->GetWidth(), m_source->GetHeight());
    if (m_source->HasAudio() && m_sound && m_sound->IsOpen()) {
        m_voice = std::make_unique<plStreamVoice>();
        if (m_voice->Create(*m_sound, m_source->GetAudioRate(), m_source->GetAudioChannels(), kRingSeconds,
                            [this](u8* out, u32 bytes) { return m_source->ReadAudio(out, bytes); }))
            m_voice->Play();
        else
            m_voice.reset();
    }
    m_startTicks = m_time.GetTickCount();
}

void plMoviePlayback::Stop() {
    if (!m_running)
        return;
    m_running = false;
    m_voice.reset();
    if (m_sinkBegun)
        m_host.GetVideoSink().End();
    m_sinkBegun = false;
}

f64 plMoviePlayback::WallClock() {
    return static_cast<f64>(m_time.GetTickCount() - m_startTicks) / 1000.0;
}

f64 plMoviePlayback::Clock() {
    const f64 wall = WallClock();
    if (!m_voice)
        return wall;
    const f64 sound = static_cast<f64>(m_voice->GetPlayedBytes()) / m_voice->GetBytesPerSecond();
    return std::max(sound, wall - kStallSeconds);
}

bool plMoviePlayback::Service() {
    if (m_voice)
        m_voice->Service();
    const f64 clock = Clock();
    f64 due = 0.0;
    bool pictures = m_source->PeekVideoTime(due);
    // Late pictures are dropped: only the last one that is due is shown.
    if (pictures && due <= clock) {
        plVideoFrame frame;
        while (pictures && due <= clock) {
            m_source->ReadVideoFrame(frame);
            pictures = m_source->PeekVideoTime(due);
        }
        if (m_sinkBegun)
            m_host.GetVideoSink().Present(frame);
    }
    if (pictures)
        return false;
    const bool soundStalled = m_voice && WallClock() - clock >= kStallSeconds;
    return !m_voice || m_voice->HasEnded() || soundStalled;
}

bool plMoviePlayback::WaitForEvent(u32 timeout, i32& code) {
    if (!m_running)
        return false;
    const u32 start = m_time.GetTickCount();
    for (;;) {
        if (!m_completed && Service()) {
            m_completed = true;
            code = plMediaEventComplete;
            return true;
        }
        const u32 elapsed = m_time.GetTickCount() - start;
        if (elapsed >= timeout)
            return false;
        u32 step = std::min(kStepMilliseconds, timeout - elapsed);
        f64 due = 0.0;
        if (!m_completed && m_source->PeekVideoTime(due)) {
            const f64 until = std::ceil((due - Clock()) * 1000.0);
            step = std::clamp<u32>(until > 0.0 ? static_cast<u32>(std::min(until, 1000.0)) : 1u, 1u, step);
        }
        m_host.Wait(step);
    }
}
