#pragma once
#include "Engine/App/Fs/fsLocator.h"

// What the game needs of the GUI toolkit's interface sounds: numbered cue slots, each a sound file at a
// volume, and one mute switch. The toolkit installs its implementation; until then nothing sounds.
class coGuiSoundCues {
  public:
    virtual ~coGuiSoundCues() = default;
    virtual void Clear() {}
    virtual void SetCue(int /*slot*/, const fsLocator& /*file*/, float /*volume*/) {}
    virtual void SetMuted(bool /*muted*/) {}
};

// Not owned; null restores the silent default.
void coSetGuiSoundCues(coGuiSoundCues* cues);
coGuiSoundCues& coGetGuiSoundCues();
