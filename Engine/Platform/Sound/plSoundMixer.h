#pragma once
#include "Engine/Platform/Sound/plSoundTypes.h"

#include <array>
#include <memory>
#include <mutex>
#include <vector>

// One sound in the mixer: sample data shared with its duplicates, and its own cursor and controls.
// Every field is read and written under the mixer's lock.
struct plSoundVoice {
    std::shared_ptr<std::vector<u8>> data;
    plWaveFormat format;
    u32 flags = 0;      // the creation flags: which controls the buffer has
    u32 frameCount = 0; // whole frames in the data
    u64 position = 0;   // the cursor in frames, 32.32 fixed point
    bool playing = false;
    bool looping = false;
    bool lost = false;
    i32 volume = 0;
    i32 pan = 0;
    u32 frequency = 0; // 0: the format's own rate
    f32 gainLeft = 1.0f;
    f32 gainRight = 1.0f;

    // Recomputes the channel gains from the volume and the pan.
    void UpdateGains();
    u32 GetPlayRate() const { return frequency ? frequency : format.samplesPerSec; }
};

// 10^(hundredths of a decibel / 2000), with the bottom of the range exactly silent.
f32 plAttenuationToGain(i32 hundredthsOfDecibel);

// Our mixer: every playing voice resampled linearly to the output rate, scaled by its gains, summed
// and saturated to 16 bits. The output thread calls Mix; everything else takes the lock.
class plSoundMixer {
  public:
    plSoundMixer();

    std::mutex& GetMutex() { return m_mutex; }

    // 16-bit output, 1 or 2 channels interleaved. Callers hold the lock (or run no output yet).
    void SetOutputFormat(u32 rate, u32 channels);
    u32 GetOutputRate() const { return m_outputRate; }
    u32 GetOutputChannels() const { return m_outputChannels; }

    // A muted mixer keeps every cursor moving and outputs silence.
    void SetMuted(bool muted);

    void AddVoice(const std::shared_ptr<plSoundVoice>& voice);
    void RemoveVoice(const plSoundVoice* voice);

    // Renders frames into out (frames x output channels samples), advancing every playing voice. It
    // allocates nothing, so the output thread's callback has nothing to fail on.
    void Mix(i16* out, u32 frames);

    // Marks every voice lost: stopped, refusing play and lock until it is released.
    void LoseAllVoices();
    // A result that every lock returns instead of succeeding; Ok lets locks through.
    void SetLockFailure(u32 result);
    u32 GetLockFailure() const { return m_lockFailure; }

  private:
    // The output is mixed in blocks of at most this many frames.
    static constexpr u32 kBlockFrames = 512;

    void MixVoice(plSoundVoice& voice, u32 frames);

    std::mutex m_mutex;
    std::vector<std::shared_ptr<plSoundVoice>> m_voices;
    std::array<f32, 2 * kBlockFrames> m_accumulator{};
    u32 m_outputRate = 22050;
    u32 m_outputChannels = 1;
    bool m_muted = false;
    u32 m_lockFailure = plSoundResult::Ok;
};
