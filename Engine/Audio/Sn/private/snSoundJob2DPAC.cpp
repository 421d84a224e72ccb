#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"

#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Platform/Sound/plSoundBuffer.h"
#include "Engine/Platform/Sound/plSoundDevice.h"

#include <cmath>

namespace {

// Static buffer with volume, pan and frequency controls and the accurate play cursor.
constexpr u32 kStaticFlags = plSoundFlags::Static | plSoundFlags::CtrlFrequency | plSoundFlags::CtrlPan |
                             plSoundFlags::CtrlVolume | plSoundFlags::GetCurrentPosition2;

// Updates in a row whose play request fails before the sound is given up.
constexpr u32 kPlayTries = 3;

// NaN goes to the bottom of the range.
f32 Clamp(f32 value, f32 low, f32 high) {
    return value > low ? (value < high ? value : high) : low;
}

// How far a ramp from start at startTime over duration has come at time: 0..1; 1 when it has no length.
f32 RampFraction(f32 time, f32 startTime, f32 duration) {
    return duration > 0.0f ? Clamp((time - startTime) / duration, 0.0f, 1.0f) : 1.0f;
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

void snRamp::Start(f32 newTarget, f32 newDuration, f32 newStartTime) {
    start = value;
    target = newTarget;
    duration = newDuration;
    startTime = newStartTime;
    running = true;
}

void snRamp::Step(f32 time, f32 low, f32 high) {
    running = value != target && startTime + duration >= time;
    value = running ? Clamp(start + (target - start) * RampFraction(time, startTime, duration), low, high)
                    : target;
}

snSoundJob2DPAC::snSoundJob2DPAC() = default;

snSoundJob2DPAC::~snSoundJob2DPAC() = default;

bool snSoundJob2DPAC::CanUseBuffer() const {
    return m_buffer && snIsSoundSystemUp();
}

f32 snSoundJob2DPAC::GetEffectiveVolume() const {
    return m_settings.volume * m_settings.fade.value * m_settings.distanceFactor * m_settings.categoryVolume *
           m_settings.masterVolume;
}

void snSoundJob2DPAC::ApplyVolume() {
    if (CanUseBuffer())
        WarnSetterFailure(m_buffer->SetVolume(snVolumeToAttenuation(GetEffectiveVolume())), __LINE__, false);
}

// Pitch 1 exactly plays the buffer at its own rate.
void snSoundJob2DPAC::ApplyFrequency() {
    if (!CanUseBuffer())
        return;
    const f32 frequency =
        Clamp(m_settings.pitch.value * static_cast<f32>(m_settings.baseFrequency), 100.0f, 100000.0f);
    const u32 value =
        m_settings.pitch.value == 1.0f ? plSoundLimits::FrequencyOriginal : static_cast<u32>(frequency);
    WarnSetterFailure(m_buffer->SetFrequency(value), __LINE__, false);
}

void snSoundJob2DPAC::ApplyPan() {
    if (CanUseBuffer())
        WarnSetterFailure(
            m_buffer->SetPan(static_cast<i32>(10000.0f * Clamp(m_settings.pan.value, -1.0f, 1.0f))), __LINE__,
            true);
}

void snSoundJob2DPAC::ApplyControls() {
    ApplyVolume();
    ApplyPan();
    ApplyFrequency();
    m_settings.volumeRefresh = false;
}

void snSoundJob2DPAC::SetVolume(f32 volume) {
    if (volume >= 0.0f && volume <= 1.0f)
        m_settings.volume = volume;
    ApplyVolume();
    m_settings.volumeRefresh = false;
}

void snSoundJob2DPAC::SetMasterVolume(f32 volume) {
    m_settings.masterVolume = Clamp(volume, 0.0f, 1.0f);
    m_settings.volumeRefresh = true;
}

void snSoundJob2DPAC::SetCategoryVolume(f32 volume) {
    m_settings.categoryVolume = Clamp(volume, 0.0f, 1.0f);
    m_settings.volumeRefresh = true;
}

void snSoundJob2DPAC::SetBaseFrequency(f32 frequency) {
    if (frequency >= 100.0f && frequency <= 100000.0f)
        m_settings.baseFrequency = static_cast<u32>(frequency);
    ApplyFrequency();
}

void snSoundJob2DPAC::SetPan(f32 pan) {
    if (pan >= -1.0f && pan <= 1.0f)
        m_settings.pan.value = pan;
    ApplyPan();
}

void snSoundJob2DPAC::SetLoopCount(i32 count) {
    m_settings.loopCount = count;
    m_settings.looping = count != 0;
}

void snSoundJob2DPAC::SetPositional(bool positional) {
    m_settings.positional = positional;
    if (!positional)
        m_settings.distanceFactor = 1.0f;
}

// A fade of no length from time 0 sets the factor at once; a fade asked for while one runs waits
// for the next ramp step and continues from the value reached.
void snSoundJob2DPAC::StartFade(f32 target, f32 duration, f32 startTime) {
    snSoundJob2DSettings& s = m_settings;
    target = Clamp(target, 0.0f, 1.0f);
    if (duration == 0.0f && startTime == 0.0f) {
        s.fade = snRamp(target);
        s.pendingFadeTarget = target;
        s.pendingFadeDuration = 0.0f;
        s.fadePending = false;
    } else if (s.fade.running) {
        s.pendingFadeTarget = target;
        s.pendingFadeDuration = duration;
        s.fadePending = true;
    } else {
        s.fade.Start(target, duration, startTime);
    }
}

void snSoundJob2DPAC::StartPitchRamp(f32 target, f32 duration, f32 startTime) {
    m_settings.pitch.Start(Clamp(target, -10.0f, 10.0f), duration, startTime);
}

void snSoundJob2DPAC::StartPanRamp(f32 target, f32 duration, f32 startTime) {
    m_settings.pan.Start(Clamp(target, -1.0f, 1.0f), duration, startTime);
}

void snSoundJob2DPAC::ApplyRamps(f32 time) {
    snSoundJob2DSettings& s = m_settings;
    if (s.fade.running) {
        s.fade.Step(time, 0.0f, 1.0f);
        ApplyVolume();
        if (s.fadePending) {
            s.fade.Start(s.pendingFadeTarget, s.pendingFadeDuration, time);
            s.fadePending = false;
        }
    }
    if (s.pan.running) {
        s.pan.Step(time, -1.0f, 1.0f);
        ApplyPan();
    }
    // A pitch on its way below 0 holds at 0.
    if (s.pitch.running) {
        s.pitch.Step(time, 0.0f, 10.0f);
        ApplyFrequency();
    }
}

// Full volume within the minimum distance, falling linearly to silence at the maximum; the pan
// follows the square of the direction's share along the listener's right.
void snSoundJob2DPAC::UpdatePositional(f32 time) {
    const maVector3d offset = m_settings.listenerPosition - m_settings.sourcePosition;
    const f32 distance = offset.Length();
    if (distance >= m_settings.maxDistance) {
        m_settings.distanceFactor = 0.0f;
        ApplyVolume();
        return;
    }
    m_settings.distanceFactor =
        distance > m_settings.minDistance
            ? (m_settings.maxDistance - distance) / (m_settings.maxDistance - m_settings.minDistance)
            : 1.0f;
    maVector3d right(1.0f, 0.0f, 0.0f);
    m_settings.listenerOrientation.Rotate(right);
    // Where source and listener meet there is no direction: the sound sits in the middle.
    const f32 along = distance > 0.0f ? maDot(offset / distance, right) : 0.0f;
    const f32 target = std::isfinite(along) ? along * std::fabs(along) : 0.0f;
    StartPanRamp(target, 0.0f, time);
    ApplyVolume();
    ApplyPan();
}

void snSoundJob2DPAC::Load() {
    if (m_settings.loaded || !snIsSoundSystemUp())
        return;
    CreateBuffer();
    if (!m_buffer)
        return;
    m_settings.loaded = true;
    u32 frequency = 0;
    if (m_buffer->GetFrequency(frequency) == plSoundResult::Ok)
        m_settings.baseFrequency = frequency;
    // Settings made before the load hold for the new buffer too.
    ApplyControls();
}

// The data chunk as far as the file holds it, in whole frames.
void snSoundJob2DPAC::CreateBuffer() {
    snWaveFile wave;
    snWaveOpenForPlayback(m_settings.file, wave);
    m_settings.format = *wave.format;
    const u32 size = wave.data.size - wave.data.size % m_settings.format.blockAlign;
    if (size == 0)
        throw snSoundCreateFailedX();
    plSoundBufferDesc desc;
    desc.flags = kStaticFlags;
    desc.bufferBytes = size;
    desc.format = m_settings.format.ToPlatform();
    m_buffer = snCreateSoundBuffer(desc);
    if (!m_buffer)
        throw snSoundCreateFailedX();
    m_settings.bufferSize = size;
    FillBuffer(wave);
}

void snSoundJob2DPAC::FillBuffer(snWaveFile& wave) {
    void* first = nullptr;
    void* second = nullptr;
    u32 firstBytes = 0, secondBytes = 0;
    const u32 locked = m_buffer->Lock(0, m_settings.bufferSize, first, firstBytes, second, secondBytes);
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
    if (!m_settings.loaded)
        return;
    if (m_buffer)
        m_buffer->Stop();
    m_buffer.reset();
    m_settings.loaded = false;
}

void snSoundJob2DPAC::Restore() {
    if (m_settings.loaded)
        return;
    Load();
    m_settings.playRequested = true;
}

void snSoundJob2DPAC::Suspend() {
    if (m_settings.loaded)
        Unload();
}

void snSoundJob2DPAC::Play(f32 time) {
    if (!m_settings.loaded || !CanUseBuffer())
        return;
    m_settings.paused = m_settings.stopped = false;
    m_settings.startTime = time;
    m_settings.playRequested = true;
}

void snSoundJob2DPAC::Restart(f32 time) {
    m_settings.startPlayPosition = 0;
    Play(time);
}

void snSoundJob2DPAC::Stop() {
    if (!m_settings.loaded || !CanUseBuffer())
        return;
    m_buffer->Stop();
    m_buffer->GetStatus(m_settings.lastStatus);
    m_settings.stopped = true;
    if (m_settings.autoRelease)
        Unload();
    m_settings.startPlayPosition = 0;
    m_settings.playRequested = false;
}

void snSoundJob2DPAC::Pause() {
    if (!m_settings.loaded || m_settings.paused || !CanUseBuffer())
        return;
    m_buffer->Stop();
    m_buffer->GetCurrentPosition(m_settings.startPlayPosition);
    m_settings.paused = true;
}

void snSoundJob2DPAC::Resume(f32 time) {
    if (m_settings.loaded && m_settings.paused && snIsSoundSystemUp())
        Play(time);
}

bool snSoundJob2DPAC::IsPlaying() const {
    return (m_settings.lastStatus & plSoundStatus::Playing) != 0;
}

void snSoundJob2DPAC::RecreateBuffer() {
    m_buffer.reset();
    CreateBuffer();
    m_settings.loaded = m_buffer != nullptr;
    ApplyControls();
}

// A paused sound stays paused: it would otherwise start on its own when the device gave the buffer
// back, typically while the program is in the background.
void snSoundJob2DPAC::ContinueAfterLoss(f32 time) {
    if (!m_settings.paused)
        Play(time);
}

bool snSoundJob2DPAC::PlayBuffer(u32 flags) {
    u32 result = m_buffer->SetCurrentPosition(m_settings.startPlayPosition);
    if (result == plSoundResult::Ok)
        result = m_buffer->Play(flags);
    // One new buffer per try: a device that keeps losing them is asked again at the next update.
    if (result == plSoundResult::BufferLost) {
        if (!RemakeLostBuffer())
            return false;
        result = m_buffer->SetCurrentPosition(m_settings.startPlayPosition);
        if (result == plSoundResult::Ok)
            result = m_buffer->Play(flags);
    }
    snLogDSError(result);
    return result == plSoundResult::Ok;
}

void snSoundJob2DPAC::PlayFailed() {
    if (m_settings.playRequested && ++m_playFailures >= kPlayTries)
        GiveUp("cannot be played");
}

bool snSoundJob2DPAC::RemakeLostBuffer() {
    try {
        RecreateBuffer();
    } catch (const envExceptionX&) {
        m_buffer.reset();
        m_settings.loaded = false;
    }
    if (m_buffer)
        return true;
    if (!m_settings.stopped)
        GiveUp("cannot be made again after its buffer was lost");
    return false;
}

void snSoundJob2DPAC::GiveUp(const char* why) {
    const fsLocator& file = m_settings.file;
    DBG_WARNING("sound %s %s; stopped",
                file.GetComponentCount() > 0 ? envStringToUtf8(file.GetLastComponent()).c_str() : "", why);
    if (m_buffer)
        m_buffer->Stop();
    m_settings.stopped = true;
    m_settings.playRequested = false;
    m_settings.startPlayPosition = 0;
    m_playFailures = 0;
    if (m_settings.autoRelease)
        Unload();
}

void snSoundJob2DPAC::StartPlayback(f32 time) {
    if (!PlayBuffer(m_settings.looping ? plSoundPlayLooping : 0)) {
        PlayFailed();
        return;
    }
    m_playFailures = 0;
    m_settings.startTime = time;
    m_settings.paused = m_settings.stopped = m_settings.playRequested = false;
}

bool snSoundJob2DPAC::BeginUpdate(f32 time) {
    if (m_settings.stopped)
        return false;
    if (!CanUseBuffer()) {
        Stop();
        return false;
    }
    const u32 status = m_buffer->GetStatus(m_settings.lastStatus);
    if (status != plSoundResult::Ok) {
        snLogDSError(status);
        return false;
    }
    if (m_settings.lastStatus & plSoundStatus::BufferLost) {
        if (!RemakeLostBuffer())
            return false;
        ContinueAfterLoss(time);
    } else if (m_settings.lastStatus == 0 && !m_settings.paused && !m_settings.playRequested) {
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
    if (m_settings.volumeRefresh) {
        ApplyVolume();
        m_settings.volumeRefresh = false;
    }
    ApplyRamps(time);
    if (m_settings.positional)
        UpdatePositional(time);
    if (m_buffer && m_settings.playRequested)
        StartPlayback(time);
}

void snSoundJob2DPAC::CopyFrom(const snSoundJob2DPAC& other) {
    Unload();
    CopySettings(other);
    m_buffer.reset();
    if (other.m_buffer && snIsSoundSystemUp()) {
        const u32 result = snGetSoundDevice().DuplicateBuffer(*other.m_buffer, m_buffer);
        snLogDSError(result);
    }
    m_settings.loaded = m_buffer != nullptr;
}
