#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

#include <memory>

class plSoundBuffer;

// The platform half of a 2D sound job: the whole sound in one static buffer of the sound device,
// with the playback state machine, volume fades, pitch and pan ramps, and the distance model of
// positional sounds. Times are seconds of the game clock.
class snSoundJob2DPAC {
  public:
    snSoundJob2DPAC();
    virtual ~snSoundJob2DPAC();
    snSoundJob2DPAC(const snSoundJob2DPAC&) = delete;
    snSoundJob2DPAC& operator=(const snSoundJob2DPAC&) = delete;

    // Creates the buffer from the file when not loaded and the device is up.
    virtual void Load();
    virtual void Unload();
    // When not loaded: load, and play at the next update.
    virtual void Restore();
    // When loaded: unload.
    virtual void Suspend();
    // Playback starts at the next Update, from the start play position.
    virtual void Play(f32 time);
    virtual void Restart(f32 time);
    virtual void Stop();
    // The per-frame step.
    virtual void Update(f32 time);
    virtual void ApplyRamps(f32 time);
    virtual void UpdatePositional(f32 time);
    virtual void Pause();
    virtual void Resume(f32 time);
    // The playing bit of the buffer status as last read.
    virtual bool IsPlaying() const;
    // Copies every setting; the copy's buffer shares the other's sound data.
    virtual void CopyFrom(const snSoundJob2DPAC& other);

    // The own volume, kept only within [0, 1]; the buffer gets the effective volume either way.
    void SetVolume(f32 volume);
    f32 GetVolume() const { return m_volume; }
    f32 GetFadeFactor() const { return m_fadeFactor; }
    f32 GetDistanceFactor() const { return m_distanceFactor; }
    f32 GetCategoryVolume() const { return m_categoryVolume; }
    f32 GetMasterVolume() const { return m_masterVolume; }
    f32 GetEffectiveVolume() const;
    // Clamped to [0, 1]; the buffer gets them at the next update.
    void SetMasterVolume(f32 volume);
    void SetCategoryVolume(f32 volume);

    // Kept only within 100..100000 Hz; the buffer gets the pitch factor times the base either way.
    void SetBaseFrequency(f32 frequency);
    u32 GetBaseFrequency() const { return m_baseFrequency; }
    // Kept only within [-1, 1]; the buffer gets the current pan either way.
    void SetPan(f32 pan);
    f32 GetPan() const { return m_pan; }
    f32 GetPitch() const { return m_pitch; }

    void StartFade(f32 target, f32 duration, f32 startTime);
    f32 GetFadeTarget() const { return m_fadeTarget; }
    void StartPitchRamp(f32 target, f32 duration, f32 startTime);
    void StartPanRamp(f32 target, f32 duration, f32 startTime);

    // Looping is on for any count but 0.
    void SetLoopCount(i32 count);
    i32 GetLoopCount() const { return m_loopCount; }
    void SetSourcePosition(const maVector3d& position) { m_sourcePosition = position; }
    void SetListenerPosition(const maVector3d& position) { m_listenerPosition = position; }
    void SetListenerOrientation(const maRotation& orientation) { m_listenerOrientation = orientation; }
    void SetMinDistance(f32 distance) { m_minDistance = distance; }
    void SetMaxDistance(f32 distance) { m_maxDistance = distance; }
    void SetStartPlayPosition(u32 position) { m_startPlayPosition = position; }
    void SetFile(const fsLocator& file) { m_file = file; }
    const fsLocator& GetFile() const { return m_file; }

    bool IsLoaded() const { return m_loaded; }
    bool IsPaused() const { return m_paused; }
    bool IsStopped() const { return m_stopped; }
    void SetStopped(bool stopped) { m_stopped = stopped; }
    bool IsLooping() const { return m_looping; }
    bool IsAutoRelease() const { return m_autoRelease; }
    void SetAutoRelease(bool autoRelease) { m_autoRelease = autoRelease; }
    bool IsPositional() const { return m_positional; }
    // Switching it off gives back the full distance factor.
    void SetPositional(bool positional);
    bool IsPlayRequested() const { return m_playRequested; }
    f32 GetStartTime() const { return m_startTime; }
    const snWaveFormat& GetFormat() const { return m_format; }
    // The buffer, for tests and the stream's refills; null when there is none.
    plSoundBuffer* GetBuffer() const { return m_buffer.get(); }

  protected:
    // Reads the file and creates the buffer; the stream builds its ring instead.
    virtual void CreateBuffer();
    // Copies the data from the open reader into the whole buffer; an empty read drops the buffer.
    virtual void FillBuffer(snWaveFile& wave);
    // Starts the buffer at the start play position (looping as asked) once play is requested.
    virtual void StartPlayback(f32 time);
    // Makes a lost buffer anew: a static sound from its file.
    virtual void RecreateBuffer();

    // The common start of the per-frame step: false when the step ends there (stopped, no device, an
    // unreadable status, or a sound that has ended and stops now). A lost buffer is made anew first.
    bool BeginUpdate(f32 time);
    // The common end of the per-frame step: volume refresh, ramps, the positional step, and the
    // start of playback when it is requested.
    void FinishUpdate(f32 time);
    // Whether the device is up and there is a buffer to work on.
    bool CanUseBuffer() const;
    void ApplyVolume();
    void ApplyFrequency();
    void ApplyPan();
    // Gives a new buffer every control setting.
    void ApplyControls();
    // Plays the buffer; a lost buffer is made anew and tried once more. False on failure.
    bool PlayBuffer(u32 flags);
    // Every field but the buffer.
    void CopySettings(const snSoundJob2DPAC& other);
    // After a lost buffer was made anew: play on, or stay paused.
    void ContinueAfterLoss(f32 time);

    std::unique_ptr<plSoundBuffer> m_buffer;
    bool m_loaded = false;
    bool m_paused = false;
    bool m_stopped = false;
    bool m_looping = false;
    bool m_pitchRamping = false;
    bool m_panRamping = false;
    bool m_fading = false;
    bool m_autoRelease = false;
    bool m_positional = false;
    bool m_playRequested = false;
    bool m_volumeRefresh = false;

    f32 m_volume = 1.0f;
    f32 m_fadeFactor = 1.0f;
    f32 m_distanceFactor = 1.0f;
    f32 m_categoryVolume = 1.0f;
    f32 m_masterVolume = 1.0f;
    u32 m_baseFrequency = 0;

    f32 m_pitch = 1.0f;
    f32 m_pitchStart = 1.0f;
    f32 m_pitchTarget = 1.0f;
    f32 m_pitchStartTime = 0.0f;
    f32 m_pitchDuration = 0.0f;

    f32 m_pan = 0.0f;
    f32 m_panTarget = 0.0f;
    f32 m_panStart = 0.0f;
    f32 m_panStartTime = 0.0f;
    f32 m_panDuration = 0.0f;

    f32 m_fadeTarget = 1.0f;
    f32 m_fadeStart = 1.0f;
    f32 m_fadeStartTime = 0.0f;
    f32 m_fadeDuration = 0.0f;
    bool m_fadePending = false;
    f32 m_pendingFadeTarget = 1.0f;
    f32 m_pendingFadeDuration = 0.0f;

    i32 m_loopCount = 1;
    maVector3d m_sourcePosition;
    maVector3d m_listenerPosition;
    maRotation m_listenerOrientation;
    f32 m_minDistance = 20.0f;
    f32 m_maxDistance = 40.0f;

    f32 m_startTime = 0.0f;
    u32 m_startPlayPosition = 0;
    u32 m_bufferSize = 0;
    u32 m_lastStatus = 0;
    snWaveFormat m_format;
    fsLocator m_file;
};
