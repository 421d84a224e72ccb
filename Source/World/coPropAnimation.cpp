#include "Source/World/coPropAnimation.h"

#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Graphics/Sc/scGeoFrameAnimation.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/World/coInvalidPropFileX.h"

#include <algorithm>
#include <limits>

namespace {

constexpr u32 kPropSoundCategory = 1;

fsLocator In(const fsLocator& folder, const envString& name) {
    fsLocator file = folder;
    file.AppendComponent(name);
    return file;
}

} // namespace

template <class T> std::vector<f32> coKeyTimes(const anKeyData<T>& track) {
    std::vector<f32> times;
    const auto* key = track.FindKeys(-std::numeric_limits<f32>::infinity()).first;
    while (key) {
        times.push_back(key->time);
        const auto [at, after] = track.FindKeys(key->time);
        key = after != at ? after : nullptr;
    }
    return times;
}
template std::vector<f32> coKeyTimes(const anKeyData<maVector3d>&);
template std::vector<f32> coKeyTimes(const anKeyData<maRotation>&);

f32 coPropCueTime(const std::vector<f32>& keyTimes, bool hasTrack, i16 keyIndex) {
    if (!hasTrack)
        return keyIndex;
    if (keyTimes.empty())
        return 0.0f;
    const size_t index = keyIndex < 0 ? 0 : std::min<size_t>(size_t(keyIndex), keyTimes.size() - 1);
    return keyTimes[index];
}

coPropAnimation::coPropAnimation(const coPropEventRecord& record, const Folders& folders,
                                 const envString& displayName)
    : m_displayName(displayName), m_speed(record.speed),
      m_loop(record.playCount > 1 || record.playCount < 0 ? 1 : 0) {
    const fsLocator animation = In(folders.model, record.animation);
    coReadPropFile(animation, folders.definition, [&] { coLoadAnimation(animation, m_tree, m_tracks); });
    m_frames = std::make_unique<scGeoFrameAnimation>(m_tree.root.get());
    // A looping event keeps its model moving as long as it keeps firing its cues.
    m_frames->SetLooping(IsLooping());
    // The cue times follow the first track; a file without one has no duration and fires at the
    // indices taken as seconds.
    std::vector<f32> keys;
    bool hasTrack = true;
    if (!m_tracks.positions.empty())
        keys = coKeyTimes(*m_tracks.positions.front());
    else if (!m_tracks.rotations.empty())
        keys = coKeyTimes(*m_tracks.rotations.front());
    else
        hasTrack = false;
    // Key times are frames; the prop plays in game seconds.
    for (f32& key : keys)
        key /= m_frames->GetFrameRate();
    m_duration = keys.empty() ? 0.0f : keys.back();

    for (const coPropParticleItem& item : record.particles) {
        coPropParticleCue cue;
        cue.generator = std::make_unique<scParticleGeneratorTemplate>();
        const fsLocator particles = In(folders.particles, item.file);
        coReadPropFile(particles, folders.definition,
                       [&] { scLoadParticleGeneratorTemplate(particles, *cue.generator); });
        if (cue.generator->textureFile.GetComponentCount() > 0) {
            cue.generator->textureFile = In(folders.textures, cue.generator->textureFile.GetLastComponent());
            cue.generator->LoadTexture();
        }
        cue.time = coPropCueTime(keys, hasTrack, item.keyIndex);
        cue.duration = item.duration;
        cue.node = item.node;
        cue.offset = item.offset;
        cue.direction = item.direction;
        m_particles.push_back(std::move(cue));
    }
    try {
        for (const coPropSoundItem& item : record.sounds) {
            auto job = std::make_unique<snSoundJob2D>();
            const fsLocator sound = In(folders.sound, item.file);
            job->SetFile(sound);
            job->SetName(item.file);
            job->SetCategory(kPropSoundCategory);
            coLoadNamedFile(sound, folders.definition, [&] { job->Load(); });
            coPropSoundCue cue{
                job.get(),        item.node,       coPropCueTime(keys, hasTrack, item.keyIndex),
                item.loop,        item.pitch,      item.volume,
                item.minDistance, item.maxDistance};
            snSoundManager::AddToPreloadList(job.release());
            m_sounds.push_back(std::move(cue));
        }
    } catch (...) {
        ReleaseSounds();
        throw;
    }
}

const anAnimation& coPropAnimation::GetFrameAnimation() const {
    return *m_frames;
}

coPropAnimation::~coPropAnimation() {
    ReleaseSounds();
}

// The manager deletes its templates: a job deleted here would stay on its list.
void coPropAnimation::ReleaseSounds() {
    for (coPropSoundCue& cue : m_sounds)
        snSoundManager::RemoveFromPreloadList(cue.job);
    m_sounds.clear();
}
