#pragma once
#include "Engine/App/Fs/fsLocator.h"

// One playable sound: the operations the program uses on every kind of sound. A job of this class
// itself plays nothing; the subclasses forward to their platform halves. Jobs are made and owned by
// the sound manager. Times are seconds of the game clock.
class snSoundJob {
  public:
    snSoundJob() = default;
    virtual ~snSoundJob() = default;
    snSoundJob& operator=(const snSoundJob&) = delete;

    virtual void Load() {}
    virtual void Unload() {}
    // Loads again a sound that Suspend released, and plays it.
    virtual void Restore() {}
    virtual void Suspend() {}
    virtual void Play(f32 /*time*/) {}
    // Plays from the start.
    virtual void Restart(f32 /*time*/) {}
    virtual void Stop() {}
    virtual void Pause() {}
    virtual void Resume(f32 /*time*/) {}
    // The per-frame step.
    virtual void Update(f32 /*time*/) {}
    virtual bool IsPlaying() const { return true; }

    // Volumes are linear factors in [0, 1]; the effective volume is their product.
    virtual void SetVolume(f32 /*volume*/) {}
    virtual f32 GetVolume() const { return 1.0f; }
    virtual void SetMasterVolume(f32 /*volume*/) {}
    virtual f32 GetMasterVolume() const { return 1.0f; }
    virtual void SetCategoryVolume(f32 /*volume*/) {}
    virtual f32 GetCategoryVolume() const { return 1.0f; }
    virtual f32 GetEffectiveVolume() const { return 1.0f; }

    // A stopped job with auto-release set is deleted by the manager's next update.
    virtual bool IsAutoRelease() const { return false; }
    virtual void SetAutoRelease(bool /*autoRelease*/) {}
    virtual bool IsStopped() const { return false; }
    virtual void SetStopped(bool /*stopped*/) {}

    // Attaches the file without reading it.
    virtual void SetFile(const fsLocator& /*file*/) {}
    // The category is a bit set; the manager maps its highest bit to a category volume.
    virtual u32 GetCategory() const { return m_category; }
    virtual void SetCategory(u32 category) { m_category = category; }
    // Whether every one of the bits is set (so no bits at all always are).
    virtual bool HasCategory(u32 bits) const { return (m_category & bits) == bits; }
    // Looping is on for any count but 0; what the count means depends on the kind of sound.
    virtual void SetLoopCount(i32 /*count*/) {}
    virtual i32 GetLoopCount() const { return 0; }

    const envString& GetName() const { return m_name; }
    void SetName(const envString& name) { m_name = name; }

  protected:
    // Copies start afresh: no name, category 0.
    snSoundJob(const snSoundJob&) : snSoundJob() {}
    // A job without a name takes the file's last component.
    void NameAfter(const fsLocator& file);

  private:
    envString m_name;
    u32 m_category = 0;
};
