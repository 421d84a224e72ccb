#include "Engine/Audio/Sn/snSoundJob2D.h"

#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"

snSoundJob2D::snSoundJob2D() : m_pac(std::make_unique<snSoundJob2DPAC>()) {}

snSoundJob2D::snSoundJob2D(std::unique_ptr<snSoundJob2DPAC> pac) : m_pac(std::move(pac)) {}

snSoundJob2D::snSoundJob2D(const snSoundJob2D& other)
    : snSoundJob2D(other, std::make_unique<snSoundJob2DPAC>()) {}

snSoundJob2D::snSoundJob2D(const snSoundJob2D& other, std::unique_ptr<snSoundJob2DPAC> pac)
    : snSoundJob(other), m_pac(std::move(pac)) {
    m_pac->CopyFrom(*other.m_pac);
}

snSoundJob2D::~snSoundJob2D() = default;

void snSoundJob2D::Load() {
    m_pac->Load();
}
void snSoundJob2D::Unload() {
    m_pac->Unload();
}
void snSoundJob2D::Restore() {
    m_pac->Restore();
}
void snSoundJob2D::Suspend() {
    m_pac->Suspend();
}
void snSoundJob2D::Play(f32 time) {
    m_pac->Play(time);
}
void snSoundJob2D::Restart(f32 time) {
    m_pac->Restart(time);
}
void snSoundJob2D::Stop() {
    m_pac->Stop();
}
void snSoundJob2D::Pause() {
    m_pac->Pause();
}
void snSoundJob2D::Resume(f32 time) {
    m_pac->Resume(time);
}
void snSoundJob2D::Update(f32 time) {
    m_pac->Update(time);
}
bool snSoundJob2D::IsPlaying() const {
    return m_pac->IsPlaying();
}

void snSoundJob2D::SetVolume(f32 volume) {
    m_pac->SetVolume(volume);
}
f32 snSoundJob2D::GetVolume() const {
    return m_pac->GetVolume();
}
void snSoundJob2D::SetMasterVolume(f32 volume) {
    m_pac->SetMasterVolume(volume);
}
f32 snSoundJob2D::GetMasterVolume() const {
    return m_pac->GetMasterVolume();
}
void snSoundJob2D::SetCategoryVolume(f32 volume) {
    m_pac->SetCategoryVolume(volume);
}
f32 snSoundJob2D::GetCategoryVolume() const {
    return m_pac->GetCategoryVolume();
}
f32 snSoundJob2D::GetEffectiveVolume() const {
    return m_pac->GetEffectiveVolume();
}

bool snSoundJob2D::IsAutoRelease() const {
    return m_pac->IsAutoRelease();
}
void snSoundJob2D::SetAutoRelease(bool autoRelease) {
    m_pac->SetAutoRelease(autoRelease);
}
bool snSoundJob2D::IsStopped() const {
    return m_pac->IsStopped();
}
void snSoundJob2D::SetStopped(bool stopped) {
    m_pac->SetStopped(stopped);
}

void snSoundJob2D::SetFile(const fsLocator& file) {
    m_pac->SetFile(file);
    NameAfter(file);
}

void snSoundJob2D::SetLoopCount(i32 count) {
    m_pac->SetLoopCount(count);
}
i32 snSoundJob2D::GetLoopCount() const {
    return m_pac->GetLoopCount();
}

void snSoundJob2D::SetPositional(bool positional) {
    m_pac->SetPositional(positional);
}
bool snSoundJob2D::IsPositional() const {
    return m_pac->IsPositional();
}

void snSoundJob2D::FadeVolume(f32 target, f32 duration, f32 startTime) {
    m_pac->StartFade(target, duration, startTime);
}
void snSoundJob2D::RampPitch(f32 target, f32 duration, f32 startTime) {
    m_pac->StartPitchRamp(target, duration, startTime);
}
f32 snSoundJob2D::GetFadeTarget() const {
    return m_pac->GetFadeTarget();
}
f32 snSoundJob2D::GetFadeFactor() const {
    return m_pac->GetFadeFactor();
}
bool snSoundJob2D::IsFading() const {
    return m_pac->IsFading();
}
bool snSoundJob2D::IsPaused() const {
    return m_pac->IsPaused();
}
const maVector3d& snSoundJob2D::SetPosition(const maVector3d& position) {
    m_pac->SetSourcePosition(position);
    return position;
}
void snSoundJob2D::SetListenerPosition(const maVector3d& position) {
    m_pac->SetListenerPosition(position);
}
void snSoundJob2D::SetListenerOrientation(const maRotation& orientation) {
    m_pac->SetListenerOrientation(orientation);
}
void snSoundJob2D::SetMinDistance(f32 distance) {
    m_pac->SetMinDistance(distance);
}
void snSoundJob2D::SetMaxDistance(f32 distance) {
    m_pac->SetMaxDistance(distance);
}

snSoundJob2DStreamed::snSoundJob2DStreamed() : snSoundJob2D(std::make_unique<snSoundJob2DStreamedPAC>()) {}

snSoundJob2DStreamed::snSoundJob2DStreamed(const snSoundJob2DStreamed& other)
    : snSoundJob2D(other, std::make_unique<snSoundJob2DStreamedPAC>()) {}
