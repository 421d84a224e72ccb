#include "Engine/Platform/Sound/plTestSoundDevice.h"

#include "Engine/Platform/Sound/plSoundMixer.h"

u32 plTestSoundDevice::CreatePrimaryBuffer() {
    return m_createFails ? plSoundResult::OutOfMemory : plSoundDevice::CreatePrimaryBuffer();
}

u32 plTestSoundDevice::CreateBuffer(const plSoundBufferDesc& desc, std::unique_ptr<plSoundBuffer>& out) {
    if (m_createFails) {
        out.reset();
        return plSoundResult::OutOfMemory;
    }
    return plSoundDevice::CreateBuffer(desc, out);
}

void plTestSoundDevice::SetLockFailure(u32 result) {
    GetMixer().SetLockFailure(result);
}

void plTestSoundDevice::LoseBuffers() {
    GetMixer().LoseAllVoices();
}

void plTestSoundDevice::Render(u32 frames) {
    plSoundMixer& mixer = GetMixer();
    const size_t begin = m_output.size();
    m_output.resize(begin + static_cast<size_t>(frames) * mixer.GetOutputChannels());
    mixer.Mix(m_output.data() + begin, frames);
}
