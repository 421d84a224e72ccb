#pragma once
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Source/World/coPropDefinition.h"

#include <memory>
#include <vector>

class anAnimation;
class scGeoFrameAnimation;
class scParticleGeneratorTemplate;
class snSoundJob2D;

struct coPropParticleCue {
    std::unique_ptr<scParticleGeneratorTemplate> generator;
    f32 time = 0.0f;
    f32 duration = 1.0f;
    std::string node;
    maVector3d offset;
    maVector3d direction;
};

// The job is a template of the sound manager, which owns it; the cue only names it.
struct coPropSoundCue {
    snSoundJob2D* job = nullptr;
    std::string node;
    f32 time = 0.0f;
    u8 loop = 0;
    f32 pitch = 1.0f;
    f32 volume = 1.0f;
    f32 minDistance = 20.0f;
    f32 maxDistance = 100.0f;
};

// The key times of a track in time order, each once.
template <class T> std::vector<f32> coKeyTimes(const anKeyData<T>& track);

// When a cue fires, in seconds: the time of key `keyIndex` (a negative index takes the first key, one past
// the last the last key); without a key track the index itself.
f32 coPropCueTime(const std::vector<f32>& keyTimes, bool hasTrack, i16 keyIndex);

// One idle, entry or exit animation of a prop kind with its particle and sound cues. Where the files
// live is the template's business: it hands in the folders.
class coPropAnimation {
  public:
    struct Folders {
        fsLocator model;      // the animation file
        fsLocator sound;      // sound cues
        fsLocator particles;  // ".tpr" files
        fsLocator textures;   // their textures
        fsLocator definition; // the ".prd" that names the files
    };
    // A file that cannot be read throws, and what was made by then is given back.
    coPropAnimation(const coPropEventRecord& record, const Folders& folders, const envString& displayName);
    ~coPropAnimation();
    coPropAnimation(const coPropAnimation&) = delete;
    coPropAnimation& operator=(const coPropAnimation&) = delete;

    const envString& GetDisplayName() const { return m_displayName; }
    const mayAnimationTree& GetTree() const { return m_tree; }
    // The key tracks as an animation the prop's models cross-fade to.
    const anAnimation& GetFrameAnimation() const;
    f32 GetSpeed() const { return m_speed; }
    // The time of the first track's last key, in seconds.
    f32 GetDuration() const { return m_duration; }
    bool IsLooping() const { return m_loop != 0; }
    const std::vector<coPropParticleCue>& GetParticleCues() const { return m_particles; }
    const std::vector<coPropSoundCue>& GetSoundCues() const { return m_sounds; }

  private:
    void ReleaseSounds();

    envString m_displayName;
    mayAnimationTree m_tree;
    mayAnimationTracks m_tracks;
    std::unique_ptr<scGeoFrameAnimation> m_frames;
    f32 m_speed = 1.0f;
    f32 m_duration = 0.0f;
    i32 m_loop = 0;
    std::vector<coPropParticleCue> m_particles;
    std::vector<coPropSoundCue> m_sounds;
};
