#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

#include <memory>

class plSoundBuffer;

// A linear ramp of a value from start towards target over duration seconds from startTime: the fade,
// the pitch and the pan of a 2D sound move this way.
struct snRamp {
    explicit snRamp(f32 at) : value(at), start(at), target(at) {}

    // Runs from the current value.
    void Start(f32 newTarget, f32 newDuration, f32 newStartTime);
    // One step, kept within [low, high] on the way. Once the value has reached the target or the
    // ramp's time is over, the value is the target and the ramp stops running.
    void Step(f32 time, f32 low, f32 high);

    f32 value;
    f32 start;
    f32 target;
    f32 startTime = 0.0f;
    f32 duration = 0.0f;
    bool running = false;
};

// Everything of a 2D sound job but its buffer, so that a copy takes it over in one assignment.
struct snSoundJob2DSettings {
    bool loaded = false;
    bool paused = false;
    bool stopped = false;
    bool looping = false;
    bool autoRelease = false;
    bool positional = false;
    bool playRequested = false;
    bool volumeRefresh = false;

    f32 volume = 1.0f;
    f32 distanceFactor = 1.0f;
    f32 categoryVolume = 1.0f;
    f32 masterVolume = 1.0f;
    u32 baseFrequency = 0;

    // The fade moves a factor of the volume; a fade asked for while one runs waits here.
    snRamp fade{1.0f};
    bool fadePending = false;
    f32 pendingFadeTarget = 1.0f;
    f32 pendingFadeDuration = 0.0f;
    // A factor of the base frequency.
    snRamp pitch{1.0f};
    snRamp pan{0.0f};

    i32 loopCount = 1;
    maVector3d sourcePosition;
    maVector3d listenerPosition;
    maRotation listenerOrientation;
    f32 minDistance = 20.0f;
    f32 maxDistance = 40.0f;

    f32 startTime = 0.0f;
    u32 startPlayPosition = 0;
    u32 bufferSize = 0;
    u32 lastStatus = 0;
    snWaveFormat format;
    fsLocator file;
};

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
    f32 GetVolume() const { return m_settings.volume; }
    f32 GetFadeFactor() const { return m_settings.fade.value; }
    f32 GetDistanceFactor() const { return m_settings.distanceFactor; }
    f32 GetCategoryVolume() const { return m_settings.categoryVolume; }
    f32 GetMasterVolume() const { return m_settings.masterVolume; }
    f32 GetEffectiveVolume() const;
    // Clamped to [0, 1]; the buffer gets them at the next update.
    void SetMasterVolume(f32 volume);
    void SetCategoryVolume(f32 volume);

    // Kept only within 100..100000 Hz; the buffer gets the pitch factor times the base either way.
    void SetBaseFrequency(f32 frequency);
    u32 GetBaseFrequency() const { return m_settings.baseFrequency; }
    // Kept only within [-1, 1]; the buffer gets the current pan either way.
    void SetPan(f32 pan);
    f32 GetPan() const { return m_settings.pan.value; }
    f32 GetPitch() const { return m_settings.pitch.value; }

    void StartFade(f32 target, f32 duration, f32 startTime);
    f32 GetFadeTarget() const { return m_settings.fade.target; }
    bool IsFading() const { return m_settings.fade.running; }
    void StartPitchRamp(f32 target, f32 duration, f32 startTime);
    void StartPanRamp(f32 target, f32 duration, f32 startTime);

    // Looping is on for any count but 0.
    void SetLoopCount(i32 count);
    i32 GetLoopCount() const { return m_settings.loopCount; }
    void SetSourcePosition(const maVector3d& position) { m_settings.sourcePosition = position; }
    void SetListenerPosition(const maVector3d& position) { m_settings.listenerPosition = position; }
    void SetListenerOrientation(const maRotation& orientation) {
        m_settings.listenerOrientation = orientation;
    }
    void SetMinDistance(f32 distance) { m_settings.minDistance = distance; }
    void SetMaxDistance(f32 distance) { m_settings.maxDistance = distance; }
    void SetStartPlayPosition(u32 position) { m_settings.startPlayPosition = position; }
    void SetFile(const fsLocator& file) { m_settings.file = file; }
    const fsLocator& GetFile() const { return m_settings.file; }

    bool IsLoaded() const { return m_settings.loaded; }
    bool IsPaused() const { return m_settings.paused; }
    bool IsStopped() const { return m_settings.stopped; }
    void SetStopped(bool stopped) { m_settings.stopped = stopped; }
    bool IsLooping() const { return m_settings.looping; }
    bool IsAutoRelease() const { return m_settings.autoRelease; }
    void SetAutoRelease(bool autoRelease) { m_settings.autoRelease = autoRelease; }
    bool IsPositional() const { return m_settings.positional; }
    // Switching it off gives back the full distance factor.
    void SetPositional(bool positional);
    bool IsPlayRequested() const { return m_settings.playRequested; }
    f32 GetStartTime() const { return m_settings.startTime; }
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
    // Counts a play request that failed; after a few in a row the sound is given up.
    void PlayFailed();
    // Makes a lost buffer anew; false when there is none after (the sound ended, or was given up because
    // its file can no longer be read).
    bool RemakeLostBuffer();
    // Stops for good, with one warning, a sound that cannot be played, so that it is not tried again
    // every frame; an auto-release job is unloaded for the manager to delete.
    void GiveUp(const char* why);
    // Every setting, not the buffer.
    void CopySettings(const snSoundJob2DPAC& other) { m_settings = other.m_settings; }
    // After a lost buffer was made anew: play on, or stay paused.
    void ContinueAfterLoss(f32 time);

    std::unique_ptr<plSoundBuffer> m_buffer;
    snSoundJob2DSettings m_settings;
    u32 m_playFailures = 0;
};
