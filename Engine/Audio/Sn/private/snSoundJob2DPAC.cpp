#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"

#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Sound/plSoundBuffer.h"
#include "Engine/Platform/Sound/plSoundDevice.h"

#include <cmath>

namespace {

// Static buffer with volume, pan and frequency controls and the accurate play cursor.
constexpr u32 kStaticFlags = plSoundFlags::Static | plSoundFlags::CtrlFrequency | plSoundFlags::CtrlPan |
                             plSoundFlags::CtrlVolume | plSoundFlags::GetCurrentPosition2;

// NaN goes to the bottom of the range.
f32 Clamp(f32 value, f32 low, f32 high) {
    return value > low ? (value < high ? value : high) : low;
}

// How far a ramp from start at startTime over duration has come at time: 0..1; 1 when it has no length.
f32 RampFraction(f32 time, f32 startTime, f32 duration) {
    return duration > 0.0f ? Clamp((time - startTime) / duration, 0.0f, 1.0f) : 1.0f;
}

struct Ramp {
    f32 start;
    f32 target;
    f32 startTime;
    f32 duration;
};

// One step of a linear ramp of value, kept within [low, high] on the way. False once the value has
// reached the target or the ramp's time is over; the value is then the target.
bool StepRamp(f32& value, const Ramp& ramp, f32 time, f32 low, f32 high) {
    if (value != ramp.target && ramp.startTime + ramp.duration >= time) {
        const f32 k = RampFraction(time, ramp.startTime, ramp.duration);
        value = Clamp(ramp.start + (ramp.target - ramp.start) * k, low, high);
        return true;
    }
    value = ramp.target;
    return false;
}

// The volume and frequency setters name four failures; the pan setter names every other as unknown.
void WarnSetterFailure(u32 result, u32 line, bool pan) {
    switch (result) {
    case plSoundResult::Ok:
        return;
    case plSoundResult::ControlUnavail:
        dbgWarning(__FILE__, line, "brSoundDS: DSERR_CONTROLUNAVAIL");
        return;
    case plSoundResult::Generic:
        dbgWarning(__FILE__, line, "brSoundDS: DSERR_GENERIC");
        return;
    case plSoundResult::InvalidParam:
        dbgWarning(__FILE__, line, "brSoundDS: DSERR_INVALIDPARAM");
        return;
    case 0x88780046: // the priority level is not granted
        dbgWarning(__FILE__, line, "brSoundDS: DSERR_PRIOLEVELNEEDED ");
        return;
    default:
        if (pan)
            dbgWarning(__FILE__, line, "brSoundDS: DSERR_ Unknown ");
    }
}

} // namespace

snSoundJob2DPAC::snSoundJob2DPAC() = default;

snSoundJob2DPAC::~snSoundJob2DPAC() = default;

bool snSoundJob2DPAC::CanUseBuffer() const {
    return m_buffer && snIsSoundSystemUp();
}

f32 snSoundJob2DPAC::GetEffectiveVolume() const {
    return m_volume * m_fadeFactor * m_distanceFactor * m_categoryVolume * m_masterVolume;
}

void snSoundJob2DPAC::ApplyVolume() {
    if (CanUseBuffer())
        WarnSetterFailure(m_buffer->SetVolume(snVolumeToAttenuation(GetEffectiveVolume())), __LINE__, false);
}

// Pitch 1 exactly plays the buffer at its own rate.
void snSoundJob2DPAC::ApplyFrequency() {
    if (!CanUseBuffer())
        return;
    const f32 frequency = Clamp(m_pitch * static_cast<f32>(m_baseFrequency), 100.0f, 100000.0f);
    const u32 value = m_pitch == 1.0f ? plSoundLimits::FrequencyOriginal : static_cast<u32>(frequency);
    WarnSetterFailure(m_buffer->SetFrequency(value), __LINE__, false);
}

void snSoundJob2DPAC::ApplyPan() {
    if (CanUseBuffer())
        WarnSetterFailure(m_buffer->SetPan(static_cast<i32>(10000.0f * Clamp(m_pan, -1.0f, 1.0f))), __LINE__,
                          true);
}

void snSoundJob2DPAC::ApplyControls() {
    ApplyVolume();
    ApplyPan();
    ApplyFrequency();
    m_volumeRefresh = false;
}

void snSoundJob2DPAC::SetVolume(f32 volume) {
    if (volume >= 0.0f && volume <= 1.0f)
        m_volume = volume;
    ApplyVolume();
    m_volumeRefresh = false;
}

void snSoundJob2DPAC::SetMasterVolume(f32 volume) {
    m_masterVolume = Clamp(volume, 0.0f, 1.0f);
    m_volumeRefresh = true;
}

void snSoundJob2DPAC::SetCategoryVolume(f32 volume) {
    m_categoryVolume = Clamp(volume, 0.0f, 1.0f);
    m_volumeRefresh = true;
}

void snSoundJob2DPAC::SetBaseFrequency(f32 frequency) {
    if (frequency >= 100.0f && frequency <= 100000.0f)
        m_baseFrequency = static_cast<u32>(frequency);
    ApplyFrequency();
}

void snSoundJob2DPAC::SetPan(f32 pan) {
    if (pan >= -1.0f && pan <= 1.0f)
        m_pan = pan;
    ApplyPan();
}

void snSoundJob2DPAC::SetLoopCount(i32 count) {
    m_loopCount = count;
    m_looping = count != 0;
}

void snSoundJob2DPAC::SetPositional(bool positional) {
    m_positional = positional;
    if (!positional)
        m_distanceFactor = 1.0f;
}

// A fade of no length from time 0 sets the factor at once; a fade asked for while one runs waits
// for the next ramp step and continues from the value reached.
void snSoundJob2DPAC::StartFade(f32 target, f32 duration, f32 startTime) {
    target = Clamp(target, 0.0f, 1.0f);
    if (duration == 0.0f && startTime == 0.0f) {
        m_fadeFactor = m_fadeTarget = m_fadeStart = m_pendingFadeTarget = target;
        m_fadeDuration = m_pendingFadeDuration = m_fadeStartTime = 0.0f;
        m_fading = m_fadePending = false;
    } else if (m_fading) {
        m_pendingFadeTarget = target;
        m_pendingFadeDuration = duration;
        m_fadePending = true;
    } else {
        m_fadeStart = m_fadeFactor;
        m_fadeTarget = target;
        m_fadeDuration = duration;
        m_fadeStartTime = startTime;
        m_fading = true;
    }
}

void snSoundJob2DPAC::StartPitchRamp(f32 target, f32 duration, f32 startTime) {
    m_pitchTarget = Clamp(target, -10.0f, 10.0f);
    m_pitchStart = m_pitch;
    m_pitchDuration = duration;
    m_pitchStartTime = startTime;
    m_pitchRamping = true;
}

void snSoundJob2DPAC::StartPanRamp(f32 target, f32 duration, f32 startTime) {
    m_panTarget = Clamp(target, -1.0f, 1.0f);
    m_panStart = m_pan;
    m_panDuration = duration;
    m_panStartTime = startTime;
    m_panRamping = true;
}

void snSoundJob2DPAC::ApplyRamps(f32 time) {
    if (m_fading) {
        m_fading = StepRamp(m_fadeFactor, {m_fadeStart, m_fadeTarget, m_fadeStartTime, m_fadeDuration}, time,
                            0.0f, 1.0f);
        ApplyVolume();
        if (m_fadePending) {
            m_fadeStart = m_fadeFactor;
            m_fadeStartTime = time;
            m_fadeTarget = m_pendingFadeTarget;
            m_fadeDuration = m_pendingFadeDuration;
            m_fadePending = false;
            m_fading = true;
        }
    }
    if (m_panRamping) {
        m_panRamping =
            StepRamp(m_pan, {m_panStart, m_panTarget, m_panStartTime, m_panDuration}, time, -1.0f, 1.0f);
        ApplyPan();
    }
    // A pitch on its way below 0 holds at 0.
    if (m_pitchRamping) {
        m_pitchRamping = StepRamp(m_pitch, {m_pitchStart, m_pitchTarget, m_pitchStartTime, m_pitchDuration},
                                  time, 0.0f, 10.0f);
        ApplyFrequency();
    }
}

// Full volume within the minimum distance, falling linearly to silence at the maximum; the pan
// follows the square of the direction's share along the listener's right.
void snSoundJob2DPAC::UpdatePositional(f32 time) {
    const maVector3d offset = m_listenerPosition - m_sourcePosition;
    const f32 distance = offset.Length();
    if (distance >= m_maxDistance) {
        m_distanceFactor = 0.0f;
        ApplyVolume();
        return;
    }
    m_distanceFactor =
        distance > m_minDistance ? (m_maxDistance - distance) / (m_maxDistance - m_minDistance) : 1.0f;
    maVector3d right(1.0f, 0.0f, 0.0f);
    m_listenerOrientation.Rotate(right);
    // Where source and listener meet there is no direction: the sound sits in the middle.
    const f32 along = distance > 0.0f ? maDot(offset / distance, right) : 0.0f;
    const f32 target = std::isfinite(along) ? along * std::fabs(along) : 0.0f;
    StartPanRamp(target, 0.0f, time);
    ApplyVolume();
    ApplyPan();
}

void snSoundJob2DPAC::Load() {
    if (m_loaded || !snIsSoundSystemUp())
        return;
    CreateBuffer();
    if (!m_buffer)
        return;
    m_loaded = true;
    u32 frequency = 0;
    if (m_buffer->GetFrequency(frequency) == plSoundResult::Ok)
        m_baseFrequency = frequency;
    // Settings made before the load hold for the new buffer too.
    ApplyControls();
}

// The data chunk as far as the file holds it, in whole frames.
void snSoundJob2DPAC::CreateBuffer() {
    snWaveFile wave;
    snWaveOpenForPlayback(m_file, wave);
    m_format = *wave.format;
    const u32 size = wave.data.size - wave.data.size % m_format.blockAlign;
    if (size == 0)
        throw snSoundCreateFailedX();
    plSoundBufferDesc desc;
    desc.flags = kStaticFlags;
    desc.bufferBytes = size;
    desc.format = m_format.ToPlatform();
    m_buffer = snCreateSoundBuffer(desc);
    if (!m_buffer)
        throw snSoundCreateFailedX();
    m_bufferSize = size;
    FillBuffer(wave);
}

void snSoundJob2DPAC::FillBuffer(snWaveFile& wave) {
    void* first = nullptr;
    void* second = nullptr;
    u32 firstBytes = 0, secondBytes = 0;
    const u32 locked = m_buffer->Lock(0, m_bufferSize, first, firstBytes, second, secondBytes);
    if (locked != plSoundResult::Ok) {
        snLogDSError(locked);
        return;
    }
    u32 read = 0;
    snWaveRead(wave, firstBytes, first, read);
    m_buffer->Unlock(first, read, second, 0);
    if (read == 0)
        m_buffer.reset();
}

void snSoundJob2DPAC::Unload() {
    if (!m_loaded)
        return;
    if (m_buffer)
        m_buffer->Stop();
    m_buffer.reset();
    m_loaded = false;
}

void snSoundJob2DPAC::Restore() {
    if (m_loaded)
        return;
    Load();
    m_playRequested = true;
}

void snSoundJob2DPAC::Suspend() {
    if (m_loaded)
        Unload();
}

void snSoundJob2DPAC::Play(f32 time) {
    if (!m_loaded || !CanUseBuffer())
        return;
    m_paused = m_stopped = false;
    m_startTime = time;
    m_playRequested = true;
}

void snSoundJob2DPAC::Restart(f32 time) {
    m_startPlayPosition = 0;
    Play(time);
}

void snSoundJob2DPAC::Stop() {
    if (!m_loaded || !CanUseBuffer())
        return;
    m_buffer->Stop();
    m_buffer->GetStatus(m_lastStatus);
    m_stopped = true;
    if (m_autoRelease)
        Unload();
    m_startPlayPosition = 0;
    m_playRequested = false;
}

void snSoundJob2DPAC::Pause() {
    if (!m_loaded || m_paused || !CanUseBuffer())
        return;
    m_buffer->Stop();
    m_buffer->GetCurrentPosition(m_startPlayPosition);
    m_paused = true;
}

void snSoundJob2DPAC::Resume(f32 time) {
    if (m_loaded && m_paused && snIsSoundSystemUp())
        Play(time);
}

bool snSoundJob2DPAC::IsPlaying() const {
    return (m_lastStatus & plSoundStatus::Playing) != 0;
}

void snSoundJob2DPAC::RecreateBuffer() {
    m_buffer.reset();
    CreateBuffer();
    m_loaded = m_buffer != nullptr;
    ApplyControls();
}

// A paused sound stays paused: it would otherwise start on its own when the device gave the buffer
// back, typically while the program is in the background.
void snSoundJob2DPAC::ContinueAfterLoss(f32 time) {
    if (!m_paused)
        Play(time);
}

bool snSoundJob2DPAC::PlayBuffer(u32 flags) {
    u32 result = m_buffer->SetCurrentPosition(m_startPlayPosition);
    if (result == plSoundResult::Ok)
        result = m_buffer->Play(flags);
    // One new buffer per try: a device that keeps losing them is asked again at the next update.
    if (result == plSoundResult::BufferLost) {
        RecreateBuffer();
        if (!m_buffer)
            return false;
        result = m_buffer->SetCurrentPosition(m_startPlayPosition);
        if (result == plSoundResult::Ok)
            result = m_buffer->Play(flags);
    }
    snLogDSError(result);
    return result == plSoundResult::Ok;
}

void snSoundJob2DPAC::StartPlayback(f32 time) {
    if (!PlayBuffer(m_looping ? plSoundPlayLooping : 0))
        return;
    m_startTime = time;
    m_paused = m_stopped = m_playRequested = false;
}

bool snSoundJob2DPAC::BeginUpdate(f32 time) {
    if (m_stopped)
        return false;
    if (!CanUseBuffer()) {
        Stop();
        return false;
    }
    const u32 status = m_buffer->GetStatus(m_lastStatus);
    if (status != plSoundResult::Ok) {
        snLogDSError(status);
        return false;
    }
    if (m_lastStatus & plSoundStatus::BufferLost) {
        RecreateBuffer();
        if (!m_buffer)
            return false;
        ContinueAfterLoss(time);
    } else if (m_lastStatus == 0 && !m_paused && !m_playRequested) {
        Stop();
        return false;
    }
    return true;
}

void snSoundJob2DPAC::Update(f32 time) {
    if (BeginUpdate(time))
        FinishUpdate(time);
}

void snSoundJob2DPAC::FinishUpdate(f32 time) {
    if (m_volumeRefresh) {
        ApplyVolume();
        m_volumeRefresh = false;
    }
    ApplyRamps(time);
    if (m_positional)
        UpdatePositional(time);
    if (m_buffer && m_playRequested)
        StartPlayback(time);
}

void snSoundJob2DPAC::CopySettings(const snSoundJob2DPAC& other) {
    m_loaded = other.m_loaded;
    m_paused = other.m_paused;
    m_stopped = other.m_stopped;
    m_looping = other.m_looping;
    m_pitchRamping = other.m_pitchRamping;
    m_panRamping = other.m_panRamping;
    m_fading = other.m_fading;
    m_autoRelease = other.m_autoRelease;
    m_positional = other.m_positional;
    m_playRequested = other.m_playRequested;
    m_volumeRefresh = other.m_volumeRefresh;
    m_volume = other.m_volume;
    m_fadeFactor = other.m_fadeFactor;
    m_distanceFactor = other.m_distanceFactor;
    m_categoryVolume = other.m_categoryVolume;
    m_masterVolume = other.m_masterVolume;
    m_baseFrequency = other.m_baseFrequency;
    m_pitch = other.m_pitch;
    m_pitchStart = other.m_pitchStart;
    m_pitchTarget = other.m_pitchTarget;
    m_pitchStartTime = other.m_pitchStartTime;
    m_pitchDuration = other.m_pitchDuration;
    m_pan = other.m_pan;
    m_panTarget = other.m_panTarget;
    m_panStart = other.m_panStart;
    m_panStartTime = other.m_panStartTime;
    m_panDuration = other.m_panDuration;
    m_fadeTarget = other.m_fadeTarget;
    m_fadeStart = other.m_fadeStart;
    m_fadeStartTime = other.m_fadeStartTime;
    m_fadeDuration = other.m_fadeDuration;
    m_fadePending = other.m_fadePending;
    m_pendingFadeTarget = other.m_pendingFadeTarget;
    m_pendingFadeDuration = other.m_pendingFadeDuration;
    m_loopCount = other.m_loopCount;
    m_sourcePosition = other.m_sourcePosition;
    m_listenerPosition = other.m_listenerPosition;
    m_listenerOrientation = other.m_listenerOrientation;
    m_minDistance = other.m_minDistance;
    m_maxDistance = other.m_maxDistance;
    m_startTime = other.m_startTime;
    m_startPlayPosition = other.m_startPlayPosition;
    m_bufferSize = other.m_bufferSize;
    m_lastStatus = other.m_lastStatus;
    m_format = other.m_format;
    m_file = other.m_file;
}

void snSoundJob2DPAC::CopyFrom(const snSoundJob2DPAC& other) {
    Unload();
    CopySettings(other);
    m_buffer.reset();
    if (other.m_buffer && snIsSoundSystemUp()) {
        const u32 result = snGetSoundDevice().DuplicateBuffer(*other.m_buffer, m_buffer);
        snLogDSError(result);
    }
    m_loaded = m_buffer != nullptr;
}
