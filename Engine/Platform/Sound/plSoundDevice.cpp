#include "Engine/Platform/Sound/plSoundDevice.h"

#include "Engine/Platform/Sound/plSoundMixer.h"

#include <new>

plSoundDevice::plSoundDevice() : m_mixer(std::make_shared<plSoundMixer>()) {}

plSoundDevice::~plSoundDevice() = default;

u32 plSoundDevice::Open() {
    if (m_open)
        return plSoundResult::Ok;
    const u32 result = OpenOutput();
    m_open = result == plSoundResult::Ok;
    return result;
}

void plSoundDevice::Close() {
    if (!m_open)
        return;
    CloseOutput();
    m_open = m_hasPrimary = m_primaryPlaying = false;
}

u32 plSoundDevice::CreatePrimaryBuffer() {
    if (!m_open)
        return plSoundResult::Uninitialized;
    m_hasPrimary = true;
    return plSoundResult::Ok;
}

u32 plSoundDevice::SetPrimaryFormat(const plWaveFormat& format) {
    if (!m_hasPrimary)
        return plSoundResult::InvalidCall;
    if (!plIsPlayableFormat(format) || format.bitsPerSample != 16)
        return plSoundResult::BadFormat;
    CloseOutput();
    m_mixer->SetOutputFormat(format.samplesPerSec, format.channels);
    const u32 result = OpenOutput();
    if (result != plSoundResult::Ok) {
        m_open = m_hasPrimary = m_primaryPlaying = false;
        return result;
    }
    if (m_primaryPlaying)
        RunOutput(true);
    return plSoundResult::Ok;
}

u32 plSoundDevice::PlayPrimary() {
    if (!m_hasPrimary)
        return plSoundResult::InvalidCall;
    RunOutput(true);
    m_primaryPlaying = true;
    return plSoundResult::Ok;
}

u32 plSoundDevice::CreateBuffer(const plSoundBufferDesc& desc, std::unique_ptr<plSoundBuffer>& out) {
    out.reset();
    if (!m_open)
        return plSoundResult::Uninitialized;
    if (desc.flags & plSoundFlags::PrimaryBuffer)
        return plSoundResult::InvalidParam;
    if (!plIsPlayableFormat(desc.format))
        return plSoundResult::BadFormat;
    if (desc.bufferBytes < desc.format.blockAlign || desc.bufferBytes > plSoundLimits::BufferBytesMax)
        return plSoundResult::InvalidParam;
    try {
        auto voice = std::make_shared<plSoundVoice>();
        const u8 silence = desc.format.bitsPerSample == 8 ? 0x80 : 0;
        voice->data = std::make_shared<std::vector<u8>>(desc.bufferBytes, silence);
        voice->format = desc.format;
        voice->flags = desc.flags;
        voice->frameCount = desc.bufferBytes / desc.format.blockAlign;
        voice->UpdateGains();
        out = std::make_unique<plSoundBuffer>(m_mixer, std::move(voice));
    } catch (const std::bad_alloc&) {
        return plSoundResult::OutOfMemory;
    }
    return plSoundResult::Ok;
}

u32 plSoundDevice::DuplicateBuffer(const plSoundBuffer& original, std::unique_ptr<plSoundBuffer>& out) {
    out.reset();
    if (!m_open)
        return plSoundResult::Uninitialized;
    auto voice = std::make_shared<plSoundVoice>();
    {
        std::lock_guard lock(m_mixer->GetMutex());
        const plSoundVoice& source = *original.GetVoice();
        if (source.lost)
            return plSoundResult::BufferLost;
        voice->data = source.data;
        voice->format = source.format;
        voice->flags = source.flags;
        voice->frameCount = source.frameCount;
        voice->volume = source.volume;
        voice->pan = source.pan;
        voice->frequency = source.frequency;
        voice->UpdateGains();
    }
    out = std::make_unique<plSoundBuffer>(m_mixer, std::move(voice));
    return plSoundResult::Ok;
}

void plSoundDevice::SetApplicationActive(bool active) {
    m_mixer->SetMuted(!active);
}
