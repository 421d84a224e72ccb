#pragma once
#include "Engine/Platform/Sound/plSoundBuffer.h"

#include <functional>
#include <memory>

class plSoundDevice;

// A voice of the sound device that plays a stream of signed 16-bit samples: a looping ring that
// Service keeps filled from a producer as the play cursor moves on. The bytes played since the last
// reset are the stream's clock. The owner services it at least once per half ring.
class plStreamVoice {
  public:
    // Gives up to bytes (whole sample frames) of the stream; fewer only when it has ended.
    using Producer = std::function<u32(u8* out, u32 bytes)>;

    // False when the device refuses the format or the buffer.
    bool Create(plSoundDevice& device, u32 rate, u32 channels, f32 seconds, Producer producer);
    bool IsCreated() const { return m_buffer != nullptr; }

    // The cursor to the start, the whole ring filled anew from the producer, the clock at 0.
    void Reset();
    // Plays on from the cursor, or stops there.
    void Play();
    void Stop();
    bool IsPlaying() const { return m_playing; }
    // Counts what was played since the last call and fills the ring up to the cursor. A lost
    // buffer is made anew and goes on from the clock.
    void Service();

    u64 GetPlayedBytes() const { return m_played; }
    u32 GetBytesPerSecond() const { return m_format.avgBytesPerSec; }
    // The producer has ended and the cursor has passed the last byte it gave.
    bool HasEnded() const { return m_ended && m_played >= m_dataEnd; }
    // Hundredths of a decibel, -10000 to 0; kept for a buffer made anew.
    void SetVolume(i32 volume);

  private:
    bool CreateBuffer();
    // Writes bytes at the write position: the producer's data while it lasts, then silence.
    void Fill(u32 bytes);
    void FillRegion(u8* out, u32 bytes);

    plSoundDevice* m_device = nullptr;
    Producer m_producer;
    plWaveFormat m_format;
    std::unique_ptr<plSoundBuffer> m_buffer;
    u32 m_ringBytes = 0;
    u32 m_lastCursor = 0;
    u64 m_played = 0;
    u64 m_written = 0;
    u64 m_dataEnd = 0;
    bool m_ended = false;
    bool m_playing = false;
    i32 m_volume = 0;
};
