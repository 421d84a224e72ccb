#pragma once
#include "Engine/Audio/Sn/snSoundJob.h"

#include <memory>

class snSoundJobMP3PAC;

// Music from an MP3 file, played by the program's one MP3 player: one file sounds at a time.
class snSoundJobMP3 : public snSoundJob {
  public:
    snSoundJobMP3();
    ~snSoundJobMP3() override;

    void Load() override;
    void Unload() override;
    void Play(f32 time) override;
    void Stop() override;
    void Pause() override;
    void Resume(f32 time) override;
    void Update(f32 time) override;

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

    snSoundJobMP3PAC& GetPlatformHalf() const { return *m_pac; }

  private:
    std::unique_ptr<snSoundJobMP3PAC> m_pac;
};
