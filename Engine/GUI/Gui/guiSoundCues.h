#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envTypes.h"

#include <map>
#include <memory>
#include <vector>

class guiWindow;
class snSoundJob;

// The sounds the GUI plays when the window under the pointer changes its state: per state a set of
// sounds, one picked at random each time, never the same one twice in a row. The jobs are the sound
// manager's; the cues hand them back when they are cleared.
class guiSoundCues {
  public:
    // Volume 0..1; the job is loaded at once, so a missing or bad file throws the loader's exception
    // and the state's set keeps the sounds it had.
    static void AddCue(i32 state, const fsLocator& file, f32 volume);
    // Destroys every job and set and forgets the last window; the GUI shut-down calls it.
    static void Clear();
    static void SetMuted(bool muted) { s_muted = muted; }
    static bool IsMuted() { return s_muted; }
    // Forgets the last window and unmutes; the GUI start-up calls it.
    static void Reset();
    // The per-frame step at the game time.
    static void Update(f32 time);
    // A window going away is no longer the last one, so a new one at its address starts afresh.
    static void Forget(const guiWindow* window);
    static u32 GetCueCount(i32 state);

    // The category bit of interface sounds.
    static constexpr u32 kCategory = 32;

  private:
    struct CueSet {
        std::vector<snSoundJob*> jobs;
        i32 last = 0;
    };
    static void PlayOne(CueSet& set, f32 time);

    static inline std::map<i32, CueSet> s_cues;
    static inline const guiWindow* s_lastWindow = nullptr;
    static inline i32 s_lastState = 0;
    static inline bool s_muted = false;
};
