#pragma once
#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"

#include <array>

// The platform half of a streamed sound: a long WAV file played through a ring of six seconds in
// twelve segments. Each update refills the segment that the play cursor has just left, so the ring
// stays about five and a half seconds ahead. It must be updated at least once per segment.
//
// The loop count is taken at each fresh start: n >= 1 plays the data n times, 0 or below without end.
class snSoundJob2DStreamedPAC : public snSoundJob2DPAC {
  public:
    snSoundJob2DStreamedPAC();
    ~snSoundJob2DStreamedPAC() override;

    // From a pause it resumes where it stopped; otherwise it starts the data over (the first play
    // after loading finds the ring filled already).
    void Play(f32 time) override;
    void Update(f32 time) override;
    // Copies the settings and opens a stream of its own on the same file.
    void CopyFrom(const snSoundJob2DPAC& other) override;

    // The segment is trunc(rate x 6 x block alignment) / 12 bytes, rounded up to whole frames.
    static u32 SegmentSizeOf(const snWaveFormat& format);
    static constexpr u32 kSegmentCount = 12;

    u32 GetSegmentSize() const { return m_segmentSize; }
    u32 GetRingSize() const { return m_ringSize; }
    u32 GetWriteOffset() const { return m_writeOffset; }
    u32 GetRefillPoint() const { return m_refillPoint; }

  protected:
    void CreateBuffer() override;
    void StartPlayback(f32 time) override;
    // A lost ring is made anew from the data at the play cursor, so playback goes on where it was.
    void RecreateBuffer() override;

  private:
    // A place in the stream: the byte offset into the data, the passes left, and whether the data
    // have ended before it.
    struct StreamPoint {
        u32 offset = 0;
        i32 loopsLeft = 0;
        bool ended = false;
    };

    // The reader at the point, the whole ring filled from it, cursor and refill point at the start.
    void FillRingFrom(const StreamPoint& point);
    // Fills bytes at the write offset and moves it on: data while there are any, then silence.
    // False when the ring cannot be locked; nothing has changed then.
    bool Refill(u32 bytes);
    void FillRegion(u8* destination, u32 bytes, u32 ringOffset);
    void FillFromFile(u8* destination, u32 bytes, u32 ringOffset);
    // The end of the data came at a ring offset: rewind for another pass, or fix the end there.
    void EndOfData(u32 ringOffset);
    // The stream point that the ring holds at an offset.
    StreamPoint PointAt(u32 ringOffset) const;
    // True when the cursor has passed the end of the data and the stream stopped.
    bool ReachedEnd(u32 playCursor);

    bool m_endKnown = false;
    bool m_silence = false;
    bool m_endArmed = false;
    bool m_ringFresh = false;
    bool m_resuming = false;
    u32 m_segmentSize = 0;
    u32 m_ringSize = 0;
    u32 m_writeOffset = 0;
    u32 m_refillPoint = 0;
    u32 m_endPosition = 0;
    i32 m_loopsLeft = 0;
    u32 m_passBytes = 0;
    snWaveFile m_wave;
    std::array<StreamPoint, kSegmentCount> m_segments{};
};
