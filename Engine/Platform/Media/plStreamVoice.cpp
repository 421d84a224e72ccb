#include "Engine/Platform/Media/plStreamVoice.h"

#include "Engine/Platform/Sound/plSoundDevice.h"

#include <cstring>

bool plStreamVoice::Create(plSoundDevice& device, u32 rate, u32 channels, f32 seconds, Producer producer) {
    m_device = &device;
    m_producer = std::move(producer);
    m_format = plWaveFormat{
        1, static_cast<u16>(channels), rate, rate * 2 * channels, static_cast<u16>(2 * channels), 16};
    m_ringBytes = static_cast<u32>(seconds * static_cast<f32>(rate)) * m_format.blockAlign;
    if (!plIsPlayableFormat(m_format) || m_ringBytes == 0 || !CreateBuffer()) {
        m_buffer.reset();
        return false;
    }
    Reset();
    return true;
}

bool plStreamVoice::CreateBuffer() {
    plSoundBufferDesc desc;
    desc.flags = plSoundFlags::CtrlVolume | plSoundFlags::GetCurrentPosition2;
    desc.bufferBytes = m_ringBytes;
    desc.format = m_format;
    if (m_device->CreateBuffer(desc, m_buffer) != plSoundResult::Ok || !m_buffer)
        return false;
    m_buffer->SetVolume(m_volume);
    return true;
}

void plStreamVoice::Reset() {
    if (!m_buffer)
        return;
    m_buffer->Stop();
    m_buffer->SetCurrentPosition(0);
    m_lastCursor = 0;
    m_played = 0;
    m_written = 0;
    m_dataEnd = 0;
    m_ended = false;
    Fill(m_ringBytes);
    if (m_playing)
        m_buffer->Play(plSoundPlayLooping);
}

void plStreamVoice::Play() {
    m_playing = true;
    if (m_buffer)
        m_buffer->Play(plSoundPlayLooping);
}

void plStreamVoice::Stop() {
    m_playing = false;
    if (m_buffer)
        m_buffer->Stop();
}

void plStreamVoice::Service() {
    if (!m_buffer)
        return;
    u32 status = 0;
    if (m_buffer->GetStatus(status) == plSoundResult::Ok && (status & plSoundStatus::BufferLost)) {
        // What the lost ring held is gone; the new one starts with what comes next.
        m_buffer.reset();
        if (!CreateBuffer())
            return;
        m_lastCursor = 0;
        m_written = m_played;
        Fill(m_ringBytes);
        if (m_playing)
            m_buffer->Play(plSoundPlayLooping);
        return;
    }
    u32 cursor = 0;
    if (m_buffer->GetCurrentPosition(cursor) != plSoundResult::Ok)
        return;
    m_played += (cursor + m_ringBytes - m_lastCursor) % m_ringBytes;
    m_lastCursor = cursor;
    // A stall longer than the ring played old data: go on from the cursor.
    if (m_played > m_written)
        m_written = m_played;
    Fill(static_cast<u32>(m_ringBytes - (m_written - m_played)));
}

void plStreamVoice::SetVolume(i32 volume) {
    m_volume = volume;
    if (m_buffer)
        m_buffer->SetVolume(volume);
}

void plStreamVoice::Fill(u32 bytes) {
    bytes -= bytes % m_format.blockAlign;
    if (bytes == 0)
        return;
    void* first = nullptr;
    void* second = nullptr;
    u32 firstBytes = 0;
    u32 secondBytes = 0;
    const auto offset = static_cast<u32>(m_written % m_ringBytes);
    if (m_buffer->Lock(offset, bytes, first, firstBytes, second, secondBytes) != plSoundResult::Ok)
        return;
    FillRegion(static_cast<u8*>(first), firstBytes);
    if (second)
        FillRegion(static_cast<u8*>(second), secondBytes);
    m_buffer->Unlock(first, firstBytes, second, secondBytes);
}

void plStreamVoice::FillRegion(u8* out, u32 bytes) {
    u32 given = 0;
    if (!m_ended) {
        given = m_producer(out, bytes);
        given = given > bytes ? bytes : given;
        if (given < bytes) {
            m_ended = true;
            m_dataEnd = m_written + given;
        }
    }
    std::memset(out + given, 0, bytes - given);
    m_written += bytes;
}
