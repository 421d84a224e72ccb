#include "Source/Modes/coModeSounds.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/Audio/Sn/snSoundJob.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundJobMP3.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coParkWorld.h"

#include <algorithm>
#include <string>

namespace {
constexpr u32 kCategoryAmbient = 4;

std::string Describe(const fsLocator& file) {
    std::string text;
    for (u32 i = 0; i < file.GetComponentCount(); ++i)
        text += (i == 0 ? "" : "/") + envStringToUtf8(file.GetComponent(i));
    return text;
}
} // namespace

bool coSoundFileExists(const fsLocator& file) {
    fsLocator found;
    return file.IsRooted() ? fsFindInRootDirectories(file, found) : fsFileExists(file);
}

snSoundJob* coStartModeSound(coModeSoundKind kind, const fsLocator& file, const char* name, i32 loop,
                             float volume, u32 category, float time) {
    snSoundJob* job = nullptr;
    try {
        switch (kind) {
        case coModeSoundKind::Plain:
            job = snSoundManager::CreateSound(file, envString(name), false);
            break;
        case coModeSoundKind::Streamed:
            job = snSoundManager::CreateStreamedSound(file);
            break;
        case coModeSoundKind::Mp3:
            job = snSoundManager::CreateMP3Sound(file);
            break;
        }
        job->Load();
        job->SetLoopCount(loop);
        job->SetVolume(volume);
        job->SetCategory(category);
        snSoundManager::ApplyVolume(job);
        job->Play(time);
    } catch (const envExceptionX&) {
        DBG_WARNING("sound \"%s\" cannot be played: it is left out", Describe(file).c_str());
        snSoundManager::DestroySound(job);
        return nullptr;
    }
    return job;
}

void coSetListenerFromCamera(const g3dCamera& camera) {
    maMatrix4d view;
    camera.GetViewMatrix(view);
    maRotation orientation;
    orientation.SetFromMatrix3d(view.GetRotationPart());
    snSoundManager::SetListenerPosition(*camera.GetPosition());
    snSoundManager::SetListenerOrientation(orientation);
}

fsLocator coRideAmbientSound::GetFile() {
    fsLocator file(coRootEnvironments);
    file.AppendComponent(coGetParkWorld().GetEnvironmentName().c_str());
    file.AppendComponent("Sound");
    file.AppendComponent("Ambient.wav");
    return file;
}

void coRideAmbientSound::Start(float time) {
    const fsLocator file = GetFile();
    if (m_job != nullptr || coPrefs::GetBool(coPrefAmbientOff) || !coSoundFileExists(file))
        return;
    m_volume = 0.8f;
    m_lastTime = time;
    m_job =
        coStartModeSound(coModeSoundKind::Plain, file, "Ambient.wav", -1, m_volume, kCategoryAmbient, time);
}

void coRideAmbientSound::Follow(bool inTube, float time) {
    if (m_job == nullptr)
        return;
    const float target = inTube ? 0.4f : 1.0f;
    const float share = std::clamp((time - m_lastTime) / 0.2f, 0.0f, 1.0f);
    m_lastTime = time;
    m_volume += (target - m_volume) * share;
    m_job->SetVolume(m_volume);
}

void coRideAmbientSound::Pause() {
    if (m_job != nullptr)
        m_job->Pause();
}

void coRideAmbientSound::Resume(float time) {
    m_lastTime = time;
    if (m_job != nullptr)
        m_job->Resume(time);
}

void coRideAmbientSound::Stop() {
    if (m_job != nullptr)
        m_job->Stop();
}

void coRideAmbientSound::Destroy() {
    if (m_job != nullptr)
        snSoundManager::DestroySound(m_job);
    m_job = nullptr;
}
