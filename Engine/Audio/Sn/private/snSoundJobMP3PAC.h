#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <memory>

class plMp3Player;

// The platform half of an MP3 job: the file plays through the program's one MP3 player, which every
// loaded MP3 job holds a share of. The job that started the file last is the one that plays; the
// others keep their settings and wait for their own Play.
class snSoundJobMP3PAC {
  public:
    snSoundJobMP3PAC() = default;
    ~snSoundJobMP3PAC();
    snSoundJobMP3PAC(const snSoundJobMP3PAC&) = delete;
    snSoundJobMP3PAC& operator=(const snSoundJobMP3PAC&) = delete;

    // Takes a share of the player; without a sound device the job stays unloaded and silent.
    void Load();
    // Gives the share back; the file stops when this job is the one playing.
    void Unload();
    // Starts the file from its beginning. A file that is missing or cannot be decoded is warned about
    // and stops the job at once, as if it had ended.
    void Play(f32 time);
    void Stop();
    // Applies the volume and the fade, and takes the player's news: at the end of the file it plays
    // again while loops are left, otherwise the job stops.
    void Update(f32 time);
    void ApplyFade(f32 time);
    void Pause();
    void Resume(f32 time);

    // Kept only within [0, 1]; the player gets the effective volume either way.
    void SetVolume(f32 volume);
    f32 GetVolume() const { return m_volume; }
    // Clamped to [0, 1]; the player gets them at the next update.
    void SetCategoryVolume(f32 volume);
    f32 GetCategoryVolume() const { return m_categoryVolume; }
    void SetMasterVolume(f32 volume);
    f32 GetMasterVolume() const { return m_masterVolume; }
    f32 GetEffectiveVolume() const;
    // A linear fade of the fade factor towards target over duration seconds from startTime.
    void StartFade(f32 target, f32 duration, f32 startTime);
    f32 GetFadeFactor() const { return m_fadeFactor; }

    // n >= 1 plays the file n times, 0 once, below 0 without end.
    void SetLoopCount(i32 count);
    i32 GetLoopCount() const { return m_loopCount; }
    void SetFile(const fsLocator& file) { m_file = file; }
    const fsLocator& GetFile() const { return m_file; }

    bool IsLoaded() const { return m_loaded; }
    bool IsLooping() const { return m_looping; }
    bool IsAutoRelease() const { return m_autoRelease; }
    void SetAutoRelease(bool autoRelease) { m_autoRelease = autoRelease; }
    bool IsStopped() const { return m_stopped; }
    void SetStopped(bool stopped) { m_stopped = stopped; }
    // Whether this job's file is the one the player has.
    bool IsCurrent() const;

  private:
    void ApplyVolume();

    std::shared_ptr<plMp3Player> m_player;
    bool m_loaded = false;
    bool m_looping = false;
    bool m_autoRelease = false;
    bool m_stopped = false;
    bool m_fading = false;
    bool m_volumeRefresh = false;
    fsLocator m_file;
    i32 m_loopCount = 0;
    i32 m_loopCounter = 0;
    f32 m_volume = 1.0f;
    f32 m_fadeFactor = 1.0f;
    f32 m_categoryVolume = 1.0f;
    f32 m_masterVolume = 1.0f;
    f32 m_fadeTarget = 1.0f;
    f32 m_fadeStart = 1.0f;
    f32 m_fadeStartTime = 0.0f;
    f32 m_fadeDuration = 0.0f;
};
