#include "Engine/Platform/Sound/plSoundBuffer.h"

#include "Engine/Platform/Sound/plSoundMixer.h"

#include <algorithm>
#include <cstring>

plSoundBuffer::plSoundBuffer(std::shared_ptr<plSoundMixer> mixer, std::shared_ptr<plSoundVoice> voice)
    : m_mixer(std::move(mixer)), m_voice(std::move(voice)), m_format(m_voice->format),
      m_size(static_cast<u32>(m_voice->data->size())) {
    m_mixer->AddVoice(m_voice);
}

plSoundBuffer::~plSoundBuffer() {
    m_mixer->RemoveVoice(m_voice.get());
}

bool plSoundBuffer::HasControl(u32 flag) const {
    return (m_voice->flags & flag) != 0;
}

u32 plSoundBuffer::GetStatus(u32& status) const {
    std::lock_guard lock(m_mixer->GetMutex());
    status = 0;
    if (m_voice->playing)
        status |= plSoundStatus::Playing | (m_voice->looping ? plSoundStatus::Looping : 0);
    if (m_voice->lost)
        status |= plSoundStatus::BufferLost;
    return plSoundResult::Ok;
}

u32 plSoundBuffer::Play(u32 flags) {
    std::lock_guard lock(m_mixer->GetMutex());
    if (m_voice->lost)
        return plSoundResult::BufferLost;
    m_voice->looping = (flags & plSoundPlayLooping) != 0;
    m_voice->playing = true;
    return plSoundResult::Ok;
}

u32 plSoundBuffer::Stop() {
    std::lock_guard lock(m_mixer->GetMutex());
    m_voice->playing = false;
    return plSoundResult::Ok;
}

u32 plSoundBuffer::GetCurrentPosition(u32& playCursor) const {
    std::lock_guard lock(m_mixer->GetMutex());
    playCursor = static_cast<u32>(m_voice->position >> 32) * m_format.blockAlign;
    return plSoundResult::Ok;
}

// The cursor lands on the frame that holds the byte.
u32 plSoundBuffer::SetCurrentPosition(u32 position) {
    if (position >= m_size)
        return plSoundResult::InvalidParam;
    std::lock_guard lock(m_mixer->GetMutex());
    m_voice->position = static_cast<u64>(position / m_format.blockAlign) << 32;
    return plSoundResult::Ok;
}

u32 plSoundBuffer::SetVolume(i32 volume) {
    if (!HasControl(plSoundFlags::CtrlVolume))
        return plSoundResult::ControlUnavail;
    if (volume < plSoundLimits::VolumeMin || volume > plSoundLimits::VolumeMax)
        return plSoundResult::InvalidParam;
    std::lock_guard lock(m_mixer->GetMutex());
    m_voice->volume = volume;
    m_voice->UpdateGains();
    return plSoundResult::Ok;
}

u32 plSoundBuffer::GetVolume(i32& volume) const {
    if (!HasControl(plSoundFlags::CtrlVolume))
        return plSoundResult::ControlUnavail;
    std::lock_guard lock(m_mixer->GetMutex());
    volume = m_voice->volume;
    return plSoundResult::Ok;
}

u32 plSoundBuffer::SetPan(i32 pan) {
    if (!HasControl(plSoundFlags::CtrlPan))
        return plSoundResult::ControlUnavail;
    if (pan < plSoundLimits::PanLeft || pan > plSoundLimits::PanRight)
        return plSoundResult::InvalidParam;
    std::lock_guard lock(m_mixer->GetMutex());
    m_voice->pan = pan;
    m_voice->UpdateGains();
    return plSoundResult::Ok;
}

u32 plSoundBuffer::GetPan(i32& pan) const {
    if (!HasControl(plSoundFlags::CtrlPan))
        return plSoundResult::ControlUnavail;
    std::lock_guard lock(m_mixer->GetMutex());
    pan = m_voice->pan;
    return plSoundResult::Ok;
}

u32 plSoundBuffer::SetFrequency(u32 frequency) {
    if (!HasControl(plSoundFlags::CtrlFrequency))
        return plSoundResult::ControlUnavail;
    if (frequency != plSoundLimits::FrequencyOriginal &&
        (frequency < plSoundLimits::FrequencyMin || frequency > plSoundLimits::FrequencyMax))
        return plSoundResult::InvalidParam;
    std::lock_guard lock(m_mixer->GetMutex());
    m_voice->frequency = frequency;
    return plSoundResult::Ok;
}

u32 plSoundBuffer::GetFrequency(u32& frequency) const {
    if (!HasControl(plSoundFlags::CtrlFrequency))
        return plSoundResult::ControlUnavail;
    std::lock_guard lock(m_mixer->GetMutex());
    frequency = m_voice->GetPlayRate();
    return plSoundResult::Ok;
}

u32 plSoundBuffer::Lock(u32 offset, u32 bytes, void*& first, u32& firstBytes, void*& second,
                        u32& secondBytes) {
    first = second = nullptr;
    firstBytes = secondBytes = 0;
    if (m_locked)
        return plSoundResult::InvalidCall;
    if (offset >= m_size || bytes == 0 || bytes > m_size)
        return plSoundResult::InvalidParam;
    std::lock_guard lock(m_mixer->GetMutex());
    if (m_voice->lost)
        return plSoundResult::BufferLost;
    if (m_mixer->GetLockFailure() != plSoundResult::Ok)
        return m_mixer->GetLockFailure();
    m_lockOffset = offset;
    m_lockFirst = std::min(bytes, m_size - offset);
    m_lockSecond = bytes - m_lockFirst;
    const u8* data = m_voice->data->data();
    m_staging.resize(bytes);
    std::memcpy(m_staging.data(), data + offset, m_lockFirst);
    std::memcpy(m_staging.data() + m_lockFirst, data, m_lockSecond);
    m_locked = true;
    first = m_staging.data();
    firstBytes = m_lockFirst;
    if (m_lockSecond) {
        second = m_staging.data() + m_lockFirst;
        secondBytes = m_lockSecond;
    }
    return plSoundResult::Ok;
}

u32 plSoundBuffer::Unlock(void* first, u32 firstBytes, void* second, u32 secondBytes) {
    if (!m_locked || first != m_staging.data() || firstBytes > m_lockFirst || secondBytes > m_lockSecond ||
        (secondBytes && second != m_staging.data() + m_lockFirst))
        return plSoundResult::InvalidParam;
    std::lock_guard lock(m_mixer->GetMutex());
    u8* data = m_voice->data->data();
    std::memcpy(data + m_lockOffset, m_staging.data(), firstBytes);
    std::memcpy(data, m_staging.data() + m_lockFirst, secondBytes);
    m_locked = false;
    return plSoundResult::Ok;
}
