#include "Engine/Audio/Sn/snSoundJobMP3.h"

#include "Engine/Audio/Sn/private/snSoundJobMP3PAC.h"

snSoundJobMP3::snSoundJobMP3() : m_pac(std::make_unique<snSoundJobMP3PAC>()) {}

snSoundJobMP3::~snSoundJobMP3() = default;

void snSoundJobMP3::Load() {
    m_pac->Load();
}
void snSoundJobMP3::Unload() {
    m_pac->Unload();
}
void snSoundJobMP3::Play(f32 time) {
    m_pac->Play(time);
}
void snSoundJobMP3::Stop() {
    m_pac->Stop();
}
void snSoundJobMP3::Pause() {
    m_pac->Pause();
}
void snSoundJobMP3::Resume(f32 time) {
    m_pac->Resume(time);
}
void snSoundJobMP3::Update(f32 time) {
    m_pac->Update(time);
}

void snSoundJobMP3::SetVolume(f32 volume) {
    m_pac->SetVolume(volume);
}
f32 snSoundJobMP3::GetVolume() const {
    return m_pac->GetVolume();
}
void snSoundJobMP3::SetMasterVolume(f32 volume) {
    m_pac->SetMasterVolume(volume);
}
f32 snSoundJobMP3::GetMasterVolume() const {
    return m_pac->GetMasterVolume();
}
void snSoundJobMP3::SetCategoryVolume(f32 volume) {
    m_pac->SetCategoryVolume(volume);
}
f32 snSoundJobMP3::GetCategoryVolume() const {
    return m_pac->GetCategoryVolume();
}
f32 snSoundJobMP3::GetEffectiveVolume() const {
    return m_pac->GetEffectiveVolume();
}

bool snSoundJobMP3::IsAutoRelease() const {
    return m_pac->IsAutoRelease();
}
void snSoundJobMP3::SetAutoRelease(bool autoRelease) {
    m_pac->SetAutoRelease(autoRelease);
}
bool snSoundJobMP3::IsStopped() const {
    return m_pac->IsStopped();
}
void snSoundJobMP3::SetStopped(bool stopped) {
    m_pac->SetStopped(stopped);
}
void snSoundJobMP3::SetFile(const fsLocator& file) {
    m_pac->SetFile(file);
}
void snSoundJobMP3::SetLoopCount(i32 count) {
    m_pac->SetLoopCount(count);
}
i32 snSoundJobMP3::GetLoopCount() const {
    return m_pac->GetLoopCount();
}
