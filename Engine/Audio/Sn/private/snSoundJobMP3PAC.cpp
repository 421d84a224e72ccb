#include "Engine/Audio/Sn/private/snSoundJobMP3PAC.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Media/plMp3Player.h"

#include <algorithm>

namespace {
// NaN goes to the bottom of the range.
f32 Clamp01(f32 value) {
    return value > 0.0f ? std::min(value, 1.0f) : 0.0f;
}
} // namespace

snSoundJobMP3PAC::~snSoundJobMP3PAC() {
    Unload();
}

void snSoundJobMP3PAC::Load() {
    if (m_loaded || !snIsSoundSystemUp())
        return;
    m_player = plMp3Player::Acquire(snGetSoundDevice());
    m_loaded = true;
}

void snSoundJobMP3PAC::Unload() {
    if (!m_loaded)
        return;
    if (IsCurrent())
        m_player->ClearSource();
    m_player.reset();
    m_loaded = false;
}

bool snSoundJobMP3PAC::IsCurrent() const {
    return m_loaded && m_player->IsOwner(this);
}

void snSoundJobMP3PAC::Play(f32 /*time*/) {
    if (!m_loaded)
        return;
    fsLocator resolved = m_file;
    fsResolveRoot(resolved);
    // Content names differ in case: the decoder gets the name that exists on disc.
    const std::string path = fsFindFilePath(resolved);
    if (path.empty() || !fsFileExists(resolved)) {
        DBG_WARNING("MP3 file not found: %s", path.c_str());
        Stop();
        return;
    }
    if (!m_player->SetSource(path, this)) {
        DBG_WARNING("MP3 file cannot be decoded: %s", path.c_str());
        m_player->ClearSource();
        Stop();
        return;
    }
    m_player->SeekToStart();
    ApplyVolume();
    m_player->Run();
    m_stopped = false;
    if (m_loopCounter == 0)
        m_loopCounter = m_loopCount;
}

void snSoundJobMP3PAC::Stop() {
    if (IsCurrent())
        m_player->Stop();
    m_stopped = true;
}

void snSoundJobMP3PAC::Pause() {
    if (IsCurrent())
        m_player->Pause();
}

void snSoundJobMP3PAC::Resume(f32 /*time*/) {
    if (IsCurrent())
        m_player->Run();
}

void snSoundJobMP3PAC::Update(f32 time) {
    if (m_stopped || !m_loaded)
        return;
    if (m_volumeRefresh)
        ApplyVolume();
    ApplyFade(time);
    if (!IsCurrent())
        return;
    i32 code = 0;
    while (m_player->GetEvent(code)) {
        if (code != plMediaEventComplete && code != plMediaEventUserAbort)
            continue;
        if (m_loopCounter > 0)
            --m_loopCounter;
        if (m_loopCounter == 0) {
            m_stopped = true;
            Stop();
        } else {
            Play(time);
        }
        return;
    }
}

void snSoundJobMP3PAC::ApplyFade(f32 time) {
    if (!m_fading)
        return;
    if (m_fadeFactor != m_fadeTarget && m_fadeStartTime + m_fadeDuration >= time) {
        const f32 k = m_fadeDuration > 0.0f ? (time - m_fadeStartTime) / m_fadeDuration : 1.0f;
        m_fadeFactor = m_fadeStart + (m_fadeTarget - m_fadeStart) * std::min(k, 1.0f);
    } else {
        m_fading = false;
        m_fadeFactor = m_fadeTarget;
    }
    ApplyVolume();
}

void snSoundJobMP3PAC::StartFade(f32 target, f32 duration, f32 startTime) {
    m_fadeTarget = Clamp01(target);
    m_fadeStart = m_fadeFactor;
    m_fadeStartTime = startTime;
    m_fadeDuration = std::max(duration, 0.0f);
    m_fading = true;
}

void snSoundJobMP3PAC::SetVolume(f32 volume) {
    if (volume >= 0.0f && volume <= 1.0f)
        m_volume = volume;
    ApplyVolume();
}

void snSoundJobMP3PAC::ApplyVolume() {
    if (IsCurrent())
        m_player->SetVolume(snVolumeToAttenuation(GetEffectiveVolume()));
    m_volumeRefresh = false;
}

void snSoundJobMP3PAC::SetCategoryVolume(f32 volume) {
    m_categoryVolume = Clamp01(volume);
    m_volumeRefresh = true;
}

void snSoundJobMP3PAC::SetMasterVolume(f32 volume) {
    m_masterVolume = Clamp01(volume);
    m_volumeRefresh = true;
}

f32 snSoundJobMP3PAC::GetEffectiveVolume() const {
    return m_fadeFactor * m_volume * m_categoryVolume * m_masterVolume;
}

void snSoundJobMP3PAC::SetLoopCount(i32 count) {
    m_loopCount = count;
    m_loopCounter = count;
    m_looping = count != 0 && count != 1;
}
