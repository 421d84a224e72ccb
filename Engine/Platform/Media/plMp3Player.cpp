#include "Engine/Platform/Media/plMp3Player.h"

#include "Engine/Platform/Media/plMediaDecoders.h"
#include "Engine/Platform/plServices.h"

namespace {
// Seconds of decoded sound held ahead of the cursor.
constexpr f32 kRingSeconds = 4.0f;
} // namespace

plMp3Player::plMp3Player(plSoundDevice& device)
    : m_device(device), m_decoder(plGetMediaDecoders().CreateMp3Decoder()) {}

std::shared_ptr<plMp3Player> plMp3Player::Acquire(plSoundDevice& device) {
    static std::weak_ptr<plMp3Player> shared;
    std::shared_ptr<plMp3Player> player = shared.lock();
    if (!player) {
        player = std::make_shared<plMp3Player>(device);
        shared = player;
    }
    return player;
}

bool plMp3Player::SetSource(const std::string& path, const void* owner) {
    ClearSource();
    m_owner = owner;
    if (!m_decoder->Open(path))
        return false;
    m_voice = std::make_unique<plStreamVoice>();
    if (!m_voice->Create(m_device, m_decoder->GetRate(), m_decoder->GetChannels(), kRingSeconds,
                         [this](u8* out, u32 bytes) { return m_decoder->Read(out, bytes); })) {
        m_voice.reset();
        m_decoder->Close();
        return false;
    }
    m_voice->SetVolume(m_volume);
    return true;
}

void plMp3Player::ClearSource() {
    m_voice.reset();
    m_decoder->Close();
    m_owner = nullptr;
    m_events.clear();
    m_running = false;
    m_completed = false;
}

void plMp3Player::Run() {
    m_running = true;
    if (m_voice && !m_completed)
        m_voice->Play();
}

void plMp3Player::Pause() {
    m_running = false;
    if (m_voice)
        m_voice->Stop();
}

void plMp3Player::Stop() {
    Pause();
}

void plMp3Player::SeekToStart() {
    m_events.clear();
    m_completed = false;
    if (m_voice && m_decoder->Rewind())
        m_voice->Reset();
}

void plMp3Player::SetVolume(i32 volume) {
    m_volume = volume;
    if (m_voice)
        m_voice->SetVolume(volume);
}

bool plMp3Player::GetEvent(i32& code) {
    if (m_running && !m_completed) {
        if (m_voice)
            m_voice->Service();
        if (!m_voice || m_voice->HasEnded()) {
            // The end of the stream: the voice falls silent and the owner hears of it once.
            m_completed = true;
            if (m_voice)
                m_voice->Stop();
            m_events.push_back(plMediaEventComplete);
        }
    }
    if (m_events.empty())
        return false;
    code = m_events.front();
    m_events.pop_front();
    return true;
}
