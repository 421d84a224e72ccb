#pragma once
#include "Engine/Audio/Sn/snSoundJob.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

#include <memory>

class snSoundJob2DPAC;

// A sound effect held whole in one buffer of the sound device, optionally placed in space: the
// listener's distance sets its volume and direction its pan. Every operation goes to the platform half.
class snSoundJob2D : public snSoundJob {
  public:
    snSoundJob2D();
    // A copy shares the other's sound data but has its own controls and cursor (name empty, category 0).
    snSoundJob2D(const snSoundJob2D& other);
    ~snSoundJob2D() override;

    void Load() override;
    void Unload() override;
    void Restore() override;
    void Suspend() override;
    void Play(f32 time) override;
    void Restart(f32 time) override;
    void Stop() override;
    void Pause() override;
    void Resume(f32 time) override;
    void Update(f32 time) override;
    // The buffer's playing bit as last read.
    bool IsPlaying() const override;

    void SetVolume(f32 volume) override;
    f32 GetVolume() const override;
    void SetMasterVolume(f32 volume) override;
    f32 GetMasterVolume() const override;
    void SetCategoryVolume(f32 volume) override;
    f32 GetCategoryVolume() const override;
    f32 GetEffectiveVolume() const override;

    bool IsAutoRelease() const override;
    void SetAutoRelease(bool autoRelease) override;
    bool IsStopped() const override;
    void SetStopped(bool stopped) override;
    void SetFile(const fsLocator& file) override;
    void SetLoopCount(i32 count) override;
    i32 GetLoopCount() const override;

    // Switching it off gives back the full distance factor.
    virtual void SetPositional(bool positional);
    virtual bool IsPositional() const;

    // A linear fade of the volume or ramp of the pitch factor towards the target over duration seconds.
    void FadeVolume(f32 target, f32 duration, f32 startTime);
    void RampPitch(f32 target, f32 duration, f32 startTime);
    f32 GetFadeTarget() const;
    // The factor the fade has reached (the own volume is apart from it), and whether a fade still runs.
    f32 GetFadeFactor() const;
    bool IsFading() const;
    bool IsPaused() const;
    const maVector3d& SetPosition(const maVector3d& position);
    void SetListenerPosition(const maVector3d& position);
    void SetListenerOrientation(const maRotation& orientation);
    void SetMinDistance(f32 distance);
    void SetMaxDistance(f32 distance);

    snSoundJob2DPAC& GetPlatformHalf() const { return *m_pac; }

  protected:
    // Takes ownership of a platform half of the job's own kind.
    explicit snSoundJob2D(std::unique_ptr<snSoundJob2DPAC> pac);
    snSoundJob2D(const snSoundJob2D& other, std::unique_ptr<snSoundJob2DPAC> pac);

  private:
    std::unique_ptr<snSoundJob2DPAC> m_pac;
};

// A long WAV file streamed through a ring of the sound device, refilled at every update.
class snSoundJob2DStreamed : public snSoundJob2D {
  public:
    snSoundJob2DStreamed();
    // A copy is a stream of its own on the same file, with the other's settings.
    snSoundJob2DStreamed(const snSoundJob2DStreamed& other);

    // A stream counts as playing until it is stopped.
    bool IsPlaying() const override { return true; }
};
