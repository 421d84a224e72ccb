#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

class snSoundJob;
class snSoundJob2D;
class snSoundJob2DStreamed;
class snSoundJobMP3;

// The program's registry of sound jobs. It owns every job made through it (the active list) and the
// templates of the preload list, updates the active jobs each frame and deletes those that stopped
// with auto-release set, copies templates by name, and pushes the volumes of seven categories (bits
// 1 to 64; higher bits fall into the last) into the jobs. Callers keep plain pointers and never
// delete jobs themselves.
class snSoundManager {
  public:
    static constexpr u32 kCategoryCount = 7;

    // Every category volume and the master volume to 1.
    static void Init();
    // Deletes every preloaded and every active job.
    static void Shutdown();

    // The per-frame pump at the game time. Without a sound device nothing stops by itself, so
    // auto-release jobs go at once then.
    static void Update(f32 time);

    // A copy of the preloaded job of that name when asked and there is one, else a new job on the
    // file (not loaded yet) under that name; either is active, with the volumes applied.
    static snSoundJob2D* CreateSound(const fsLocator& file, const envString& name, bool tryClone);
    static snSoundJob2DStreamed* CreateStreamedSound(const fsLocator& file);
    static snSoundJobMP3* CreateMP3Sound(const fsLocator& file);
    // Deletes an active job; 0 (and nothing done) when the job is not active.
    static int DestroySound(snSoundJob* job);

    // Appends a job unless it is already there; a template is never made active.
    static void AddToActiveList(snSoundJob* job);
    static snSoundJob* FindActive(const snSoundJob* job);
    // The manager takes the job as a template: it leaves the active list and is never updated. A job
    // that is a template already is not added twice.
    static void AddToPreloadList(snSoundJob* job);
    // Deletes the template; nothing when it is not one.
    static void RemoveFromPreloadList(snSoundJob* job);
    static void ClearPreloadList();
    static void ClearActiveList();

    // An active copy of the first template of that name, or null with a warning when there is none
    // or it cannot be copied (MP3 music).
    static snSoundJob* CloneByName(const envString& name);
    // The same for a template given by identity.
    static snSoundJob* Clone(const snSoundJob* preloaded);

    // The master volume and the job's category volume; null is allowed.
    static void ApplyVolume(snSoundJob* job);
    // Stored clamped to [0, 1] for the category of the bits and pushed to every job whose bit set is
    // exactly those bits; the same volume again pushes nothing.
    static void SetCategoryVolume(f32 volume, int bits);
    static f32 GetCategoryVolume(u32 index);
    // 0..6: the highest set bit, bits above 64 in the last category.
    static u32 CategoryIndex(u32 bits);

    // Given to every active positional job.
    static void SetListenerPosition(const maVector3d& position);
    static void SetListenerOrientation(const maRotation& orientation);

    static u32 GetActiveCount();
    static u32 GetPreloadCount();
};
