#include "Tools/Sound/toolSoundSynth.h"

#include "Engine/Core/Env/envLittleEndian.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr float kLevel = 0.5f;
constexpr float kAttackSeconds = 0.005f;
constexpr float kClickSeconds = 0.004f;

// A small generator of its own, so the content does not depend on the library's.
class toolNoise {
  public:
    explicit toolNoise(u32 seed) : m_state(seed) {}
    float Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) / static_cast<float>(1u << 23) - 1.0f;
    }

  private:
    u32 m_state;
};

float Sine(float frequency, u32 i) {
    return std::sin(2.0f * std::numbers::pi_v<float> * frequency * static_cast<float>(i) / toolSampleRate);
}

// A loop holds whole cycles, so its end joins its start.
float LoopFrequency(float frequency, u32 count) {
    const float seconds = static_cast<float>(count) / toolSampleRate;
    return std::max(1.0f, std::round(frequency * seconds)) / seconds;
}

// Quick rise, then an exponential fall to about 1% at the end.
float Envelope(u32 i, u32 count) {
    const float t = static_cast<float>(i) / toolSampleRate;
    const float attack = std::min(1.0f, t / kAttackSeconds);
    return attack * std::exp(-4.6f * static_cast<float>(i) / static_cast<float>(count));
}

float MelodySample(float root, u32 i) {
    static constexpr float kSteps[] = {1.0f, 1.25f, 1.5f, 2.0f, 1.5f, 1.25f, 1.0f, 0.75f};
    const u32 noteLength = toolSampleRate / 4;
    const u32 note = i / noteLength;
    const u32 inNote = i % noteLength;
    const float lead = Sine(root * kSteps[note % 8], i) * Envelope(inNote, noteLength);
    const u32 barLength = toolSampleRate * 2;
    const float bass =
        Sine(root / 2.0f * (note / 8 % 2 ? 1.5f : 1.0f), i) * Envelope(i % barLength, barLength);
    return 0.6f * lead + 0.4f * bass;
}

} // namespace

std::vector<i16> toolSynthesize(const toolSoundSpec& spec, u32 seed) {
    const u32 count = static_cast<u32>(spec.seconds * toolSampleRate);
    std::vector<i16> samples(count);
    toolNoise noise(seed);
    const float frequency =
        spec.kind == toolSoundKind::Tone && spec.loop ? LoopFrequency(spec.frequency, count) : spec.frequency;
    // One pole of low-pass for the noise.
    const float smoothing = 1.0f - std::exp(-2.0f * std::numbers::pi_v<float> * frequency / toolSampleRate);
    const u32 clickPeriod = static_cast<u32>(toolSampleRate / std::max(frequency, 1.0f));
    const u32 clickLength = static_cast<u32>(kClickSeconds * toolSampleRate);
    float filtered = 0.0f;
    for (u32 i = 0; i < count; ++i) {
        float value = 0.0f;
        switch (spec.kind) {
        case toolSoundKind::Tone:
            value = Sine(frequency, i);
            break;
        case toolSoundKind::Noise:
            filtered += smoothing * (noise.Next() - filtered);
            // Low-passed noise is quiet: bring it up to the level of the tones.
            value = std::clamp(filtered / std::sqrt(smoothing), -1.0f, 1.0f);
            break;
        case toolSoundKind::Clicks:
            value = i % clickPeriod < clickLength ? noise.Next() : 0.0f;
            break;
        case toolSoundKind::Melody:
            value = MelodySample(frequency, i);
            break;
        }
        const float level = spec.loop ? kLevel : kLevel * Envelope(i, count);
        samples[i] = static_cast<i16>(std::lround(value * level * 32767.0f));
    }
    return samples;
}

std::string toolBuildWave(const std::vector<i16>& samples) {
    std::string bytes;
    auto text = [&bytes](const char* id) { bytes.append(id, 4); };
    const u32 dataSize = static_cast<u32>(samples.size() * 2);
    text("RIFF");
    envAppendLe32(bytes, 36 + dataSize);
    text("WAVE");
    text("fmt ");
    envAppendLe32(bytes, 16);
    envAppendLe16(bytes, 1); // PCM
    envAppendLe16(bytes, 1); // mono
    envAppendLe32(bytes, toolSampleRate);
    envAppendLe32(bytes, toolSampleRate * 2);
    envAppendLe16(bytes, 2); // bytes a frame
    envAppendLe16(bytes, 16);
    text("data");
    envAppendLe32(bytes, dataSize);
    for (i16 sample : samples)
        envAppendLe16(bytes, static_cast<u16>(sample));
    return bytes;
}
