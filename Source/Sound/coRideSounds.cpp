#include "Source/Sound/coRideSounds.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr float kMaxDistance = 200.0f;
constexpr float kMaxRunPitch = 10.0f;

const struct {
    const char* name;
    bool loops;
    bool oneShot;
} kSounds[coRideSoundCount] = {
    {"START", false, true},        {"END", false, true},           {"RUN", true, false},
    {"TURN", true, false},         {"GFORCE", true, false},        {"CLIMB", true, false},
    {"GRAB_CHAIN", false, true},   {"RELEASE_CHAIN", false, true}, {"BRAKES", false, false},
    {"ACCEL", false, false},       {"TUBE", true, false},          {"RETARDER", true, false},
    {"RETARDER_END", false, true},
};

// The decorated stretches of track the train can be in.
enum coZone { kChain, kBrakes, kAccelerator, kRetarder, kTube, kZoneCount };

struct coRideSounds {
    // By id; null where a sound could not be loaded.
    std::array<std::unique_ptr<coRideSound>, coRideSoundCount> sounds;
    std::array<bool, kZoneCount> zones{};
    bool started = false;
    bool paused = false;
};

coRideSounds g_sounds;

coRideSound* Sound(coRideSoundId id) {
    return g_sounds.sounds[id].get();
}

f32 Now() {
    return appClock::GetTime();
}

// A fade of no length from time 0 sets the fade factor at once.
void SetAtOnce(coRideSound* sound, float volume) {
    if (sound)
        sound->job->FadeVolume(volume, 0.0f, 0.0f);
}

void Fade(coRideSound* sound, float volume, float seconds) {
    if (sound)
        sound->job->FadeVolume(volume, seconds, Now());
}

void PlayAt(coRideSound* sound, float volume) {
    if (!sound)
        return;
    SetAtOnce(sound, volume);
    sound->job->Restart(Now());
    sound->playing = true;
}

void Play(coRideSound* sound) {
    PlayAt(sound, 1.0f);
}

void Stop(coRideSound* sound) {
    if (!sound)
        return;
    sound->job->Stop();
    sound->playing = false;
}

// The zones of the piece under the distance; none off the track (an empty circuit).
std::array<bool, kZoneCount> ZonesAt(float distance) {
    std::array<bool, kZoneCount> zones{};
    if (const coCoasterPiece* piece = coCircuitPieceAtDistance(distance)) {
        const i32 element = piece->GetElement();
        zones[kChain] = element == coElementChainLift;
        zones[kBrakes] = element == coElementBrakes;
        zones[kAccelerator] = element == coElementBooster;
        zones[kRetarder] = element == coElementRetarder;
        zones[kTube] = piece->GetTube() == 1;
    }
    return zones;
}

void EnterZone(coZone zone) {
    switch (zone) {
    case kChain:
        Play(Sound(coRideSoundClimb));
        Fade(Sound(coRideSoundClimb), 0.8f, 0.3f);
        Play(Sound(coRideSoundGrabChain));
        break;
    case kBrakes:
        Play(Sound(coRideSoundBrakes));
        break;
    case kAccelerator:
        Play(Sound(coRideSoundAccel));
        break;
    case kRetarder:
        Play(Sound(coRideSoundRetarder));
        break;
    case kTube:
        Play(Sound(coRideSoundTube));
        break;
    case kZoneCount:
        break;
    }
}

void LeaveZone(coZone zone) {
    switch (zone) {
    case kChain:
        Stop(Sound(coRideSoundClimb));
        Play(Sound(coRideSoundReleaseChain));
        break;
    case kAccelerator:
        Fade(Sound(coRideSoundAccel), 0.0f, 0.5f);
        break;
    case kRetarder:
        Fade(Sound(coRideSoundRetarder), 0.0f, 0.5f);
        Play(Sound(coRideSoundRetarderEnd));
        break;
    case kTube:
        Fade(Sound(coRideSoundTube), 0.0f, 0.5f);
        break;
    case kBrakes:
    case kZoneCount:
        break;
    }
}

void UpdateZones(float distance) {
    const std::array<bool, kZoneCount> zones = ZonesAt(distance);
    for (int z = 0; z < kZoneCount; ++z) {
        if (zones[z] == g_sounds.zones[z])
            continue;
        if (zones[z])
            EnterZone(static_cast<coZone>(z));
        else
            LeaveZone(static_cast<coZone>(z));
    }
    g_sounds.zones = zones;
}

// In a tube the open-air sounds are muffled to fixed levels.
void Muffle() {
    for (coRideSoundId id : {coRideSoundTurn, coRideSoundGForce}) {
        coRideSound* sound = Sound(id);
        if (sound && !sound->job->IsFading()) {
            sound->playing = true;
            Fade(sound, 0.45f, 0.125f);
        }
    }
    Fade(Sound(coRideSoundRun), 0.3f, 0.5f);
}

void FollowSpeed(float speed, float turn) {
    if (coRideSound* sound = Sound(coRideSoundTurn)) {
        const float level = std::clamp(std::fabs(turn) * 0.45f - 0.1f, 0.3f, 1.0f);
        if (sound->job->GetFadeFactor() >= 0.5f) {
            if (level >= 0.4f)
                Fade(sound, level, 0.2f);
            else
                Fade(sound, 0.3f, std::clamp(std::fabs(2.5f - speed * 0.025f), 0.5f, 2.0f));
            sound->playing = true;
        } else if (level > 0.3f) {
            Fade(sound, level, 0.4f);
            sound->playing = true;
        }
    }
    if (coRideSound* sound = Sound(coRideSoundGForce)) {
        Fade(sound, std::clamp(speed * 0.021f, 0.2f, 1.0f), 0.4f);
        sound->job->RampPitch(std::clamp(speed * 0.01f, 1.0f, 2.0f), 0.0f, Now());
        sound->playing = true;
    }
    if (coRideSound* sound = Sound(coRideSoundRun)) {
        SetAtOnce(sound, std::clamp(speed * 0.025f, 0.8f, 1.0f));
        sound->playing = true;
    }
}

std::string g_soundSet;

} // namespace

coRideSound::~coRideSound() {
    snSoundManager::DestroySound(job);
}

std::unique_ptr<coRideSound> coMakeRideSound(const fsLocator& folder, const char* name, bool loops,
                                             bool oneShot) {
    snSoundJob2D* job = coCreateEffectSound(coWaveFile(folder, name), 1.0f);
    if (!job)
        return nullptr;
    if (loops)
        job->SetLoopCount(-1);
    job->SetPositional(true);
    job->SetMaxDistance(kMaxDistance);
    return std::make_unique<coRideSound>(job, oneShot);
}

void coLoadRideEventSounds() {
    coFreeRideEventSounds();
    fsLocator folder(coRootTracks);
    const std::string type = coGetCoasterDefinition().GetCoasterTypeName();
    if (!type.empty())
        folder.AppendComponent(type.c_str());
    for (int id = 0; id < coRideSoundCount; ++id)
        g_sounds.sounds[id] =
            coMakeRideSound(folder, kSounds[id].name, kSounds[id].loops, kSounds[id].oneShot);
}

void coFreeRideEventSounds() {
    g_sounds = coRideSounds();
}

void coRideSoundsStart(float distance) {
    if (g_sounds.started)
        return;
    Play(Sound(coRideSoundStart));
    if (ZonesAt(distance)[kChain])
        Play(Sound(coRideSoundClimb));
    for (coRideSoundId id : {coRideSoundRun, coRideSoundTurn, coRideSoundGForce})
        PlayAt(Sound(id), 0.2f);
    g_sounds.started = true;
}

void coRideSoundsUpdate(float speed, float turn, float distance, const maVector3d& position) {
    UpdateZones(distance);
    speed = std::fabs(speed);
    if (coRideSound* run = Sound(coRideSoundRun))
        run->job->RampPitch(std::min(speed / 60.0f + 0.5f, kMaxRunPitch), 0.0f, Now());
    if (g_sounds.zones[kTube])
        Muffle();
    else
        FollowSpeed(speed, turn);
    for (const auto& sound : g_sounds.sounds)
        if (sound)
            sound->job->SetPosition(position);
}

void coRideSoundsSetPaused(bool paused) {
    if (paused == g_sounds.paused)
        return;
    g_sounds.paused = paused;
    for (const auto& sound : g_sounds.sounds) {
        if (!sound || !sound->playing)
            continue;
        if (sound->oneShot) {
            if (paused)
                sound->job->Stop();
        } else if (paused) {
            sound->job->Pause();
        } else {
            sound->job->Resume(Now());
        }
    }
}

void coRideSoundsEnd() {
    for (const auto& sound : g_sounds.sounds)
        Stop(sound.get());
    Play(Sound(coRideSoundEnd));
    g_sounds.started = false;
}

void coSetRideSoundsPositional(bool positional) {
    for (const auto& sound : g_sounds.sounds)
        if (sound)
            sound->job->SetPositional(positional);
}

const coRideSound* coGetRideSound(coRideSoundId id) {
    return id >= 0 && id < coRideSoundCount ? g_sounds.sounds[id].get() : nullptr;
}

void coSelectRideSoundSet(const std::string& name) {
    g_soundSet = name;
}

const std::string& coGetRideSoundSet() {
    return g_soundSet;
}
