#include "Engine/Platform/Sound/plSoundMixer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "sample data are little-endian as stored");

namespace {

constexpr f32 kFractionScale = 1.0f / 4294967296.0f;

template <u32 Bits> f32 SampleAt(const u8* p) {
    if constexpr (Bits == 8) {
        return (static_cast<f32>(*p) - 128.0f) * 256.0f;
    } else {
        i16 value;
        std::memcpy(&value, p, sizeof(value));
        return static_cast<f32>(value);
    }
}

// Adds frames of one voice to the accumulator, from its cursor at step (32.32 frames per output
// frame). Returns the cursor after the last frame; it may lie past the end for the caller to settle.
template <u32 Bits, u32 Channels, u32 OutChannels>
u64 Accumulate(const plSoundVoice& voice, f32* accumulator, u32 frames, u64 step) {
    constexpr u32 kBytes = Bits / 8;
    constexpr u32 kStride = kBytes * Channels;
    const u8* data = voice.data->data();
    const u32 count = voice.frameCount;
    const u64 end = static_cast<u64>(count) << 32;
    const f32 gainLeft = voice.gainLeft;
    const f32 gainRight = voice.gainRight;
    u64 position = voice.position;
    for (u32 i = 0; i < frames; ++i) {
        if (position >= end) {
            if (!voice.looping)
                return position;
            position %= end;
        }
        const u32 index = static_cast<u32>(position >> 32);
        const f32 fraction = static_cast<f32>(position & 0xFFFFFFFFu) * kFractionScale;
        // A ring continues at its start; a one-shot sound holds its last frame.
        const u32 next = index + 1 < count ? index + 1 : (voice.looping ? 0 : index);
        const u8* a = data + static_cast<size_t>(index) * kStride;
        const u8* b = data + static_cast<size_t>(next) * kStride;
        const f32 left0 = SampleAt<Bits>(a);
        const f32 left = left0 + (SampleAt<Bits>(b) - left0) * fraction;
        f32 right = left;
        if constexpr (Channels == 2) {
            const f32 right0 = SampleAt<Bits>(a + kBytes);
            right = right0 + (SampleAt<Bits>(b + kBytes) - right0) * fraction;
        }
        if constexpr (OutChannels == 2) {
            accumulator[2 * i] += left * gainLeft;
            accumulator[2 * i + 1] += right * gainRight;
        } else {
            accumulator[i] += (left * gainLeft + right * gainRight) * 0.5f;
        }
        position += step;
    }
    return position;
}

template <u32 OutChannels>
u64 AccumulateFormat(const plSoundVoice& voice, f32* accumulator, u32 frames, u64 step) {
    const bool wide = voice.format.bitsPerSample == 16;
    if (voice.format.channels == 2)
        return wide ? Accumulate<16, 2, OutChannels>(voice, accumulator, frames, step)
                    : Accumulate<8, 2, OutChannels>(voice, accumulator, frames, step);
    return wide ? Accumulate<16, 1, OutChannels>(voice, accumulator, frames, step)
                : Accumulate<8, 1, OutChannels>(voice, accumulator, frames, step);
}

i16 Saturate(f32 value) {
    const f32 rounded = std::nearbyint(value);
    return static_cast<i16>(std::clamp(rounded, -32768.0f, 32767.0f));
}

} // namespace

f32 plAttenuationToGain(i32 hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= plSoundLimits::VolumeMin)
        return 0.0f;
    return static_cast<f32>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

// The pan takes its attenuation off the channel it turns away from.
void plSoundVoice::UpdateGains() {
    const f32 gain = plAttenuationToGain(volume);
    gainLeft = gain * (pan > 0 ? plAttenuationToGain(-pan) : 1.0f);
    gainRight = gain * (pan < 0 ? plAttenuationToGain(pan) : 1.0f);
}

plSoundMixer::plSoundMixer() = default;

void plSoundMixer::SetOutputFormat(u32 rate, u32 channels) {
    m_outputRate = rate;
    m_outputChannels = channels;
}

void plSoundMixer::SetMuted(bool muted) {
    std::lock_guard lock(m_mutex);
    m_muted = muted;
}

void plSoundMixer::AddVoice(const std::shared_ptr<plSoundVoice>& voice) {
    std::lock_guard lock(m_mutex);
    m_voices.push_back(voice);
}

void plSoundMixer::RemoveVoice(const plSoundVoice* voice) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_voices, [voice](const auto& held) { return held.get() == voice; });
}

void plSoundMixer::LoseAllVoices() {
    std::lock_guard lock(m_mutex);
    for (const auto& voice : m_voices) {
        voice->lost = true;
        voice->playing = false;
    }
}

void plSoundMixer::SetLockFailure(u32 result) {
    std::lock_guard lock(m_mutex);
    m_lockFailure = result;
}

void plSoundMixer::Mix(i16* out, u32 frames) {
    std::lock_guard lock(m_mutex);
    while (frames > 0) {
        const u32 block = std::min(frames, kBlockFrames);
        const size_t samples = static_cast<size_t>(block) * m_outputChannels;
        std::fill_n(m_accumulator.begin(), samples, 0.0f);
        for (const auto& voice : m_voices)
            if (voice->playing)
                MixVoice(*voice, block);
        for (size_t i = 0; i < samples; ++i)
            out[i] = m_muted ? 0 : Saturate(m_accumulator[i]);
        out += samples;
        frames -= block;
    }
}

void plSoundMixer::MixVoice(plSoundVoice& voice, u32 frames) {
    if (voice.frameCount == 0) {
        voice.playing = false;
        return;
    }
    const u64 step = (static_cast<u64>(voice.GetPlayRate()) << 32) / m_outputRate;
    u64 position = m_outputChannels == 2 ? AccumulateFormat<2>(voice, m_accumulator.data(), frames, step)
                                         : AccumulateFormat<1>(voice, m_accumulator.data(), frames, step);
    // The cursor always reads inside the buffer: a ring wraps, a one-shot sound ends and rewinds.
    const u64 end = static_cast<u64>(voice.frameCount) << 32;
    if (position >= end) {
        if (voice.looping) {
            position %= end;
        } else {
            voice.playing = false;
            position = 0;
        }
    }
    voice.position = position;
}
