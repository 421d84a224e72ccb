#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"

#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Platform/Sound/plSoundBuffer.h"
#include "Engine/Platform/Sound/plSoundDevice.h"

#include <algorithm>
#include <cstring>

namespace {

// A ring: volume, pan and frequency controls and the accurate play cursor; not static.
constexpr u32 kRingFlags = plSoundFlags::CtrlFrequency | plSoundFlags::CtrlPan | plSoundFlags::CtrlVolume |
                           plSoundFlags::GetCurrentPosition2;
constexpr f32 kRingSeconds = 6.0f;

} // namespace

snSoundJob2DStreamedPAC::snSoundJob2DStreamedPAC() {
    m_settings.looping = false;
    m_settings.positional = false;
}

snSoundJob2DStreamedPAC::~snSoundJob2DStreamedPAC() = default;

u32 snSoundJob2DStreamedPAC::SegmentSizeOf(const snWaveFormat& format) {
    const u32 align = format.blockAlign;
    if (align == 0)
        return 0;
    const u32 segment =
        static_cast<u32>(static_cast<f32>(format.samplesPerSec) * kRingSeconds * align) / kSegmentCount;
    return (segment + align - 1) / align * align;
}

void snSoundJob2DStreamedPAC::CreateBuffer() {
    snWaveOpenForPlayback(m_settings.file, m_wave);
    m_settings.format = *m_wave.format;
    m_segmentSize = SegmentSizeOf(m_settings.format);
    m_ringSize = kSegmentCount * m_segmentSize;
    plSoundBufferDesc desc;
    desc.flags = kRingFlags;
    desc.bufferBytes = m_ringSize;
    desc.format = m_settings.format.ToPlatform();
    std::unique_ptr<plSoundBuffer> ring;
    if (snGetSoundDevice().CreateBuffer(desc, ring) != plSoundResult::Ok) {
        snWaveClose(m_wave);
        throw snSoundCreateFailedX();
    }
    m_buffer = std::move(ring);
    m_settings.bufferSize = m_ringSize;
    m_settings.stopped = false;
    FillRingFrom({0, m_settings.loopCount, false});
}

void snSoundJob2DStreamedPAC::FillRingFrom(const StreamPoint& point) {
    m_loopsLeft = point.loopsLeft;
    m_passBytes = point.offset;
    m_settings.looping = true;
    m_silence = m_endKnown = m_endArmed = false;
    m_writeOffset = m_refillPoint = m_settings.startPlayPosition = 0;
    if (snWaveSeekData(m_wave, point.offset) != snWaveResult::Ok) {
        m_silence = m_endKnown = true;
        m_endPosition = 0;
    }
    Refill(m_ringSize);
    m_ringFresh = true;
}

bool snSoundJob2DStreamedPAC::Refill(u32 bytes) {
    void* first = nullptr;
    void* second = nullptr;
    u32 firstBytes = 0, secondBytes = 0;
    const u32 locked = m_buffer->Lock(m_writeOffset, bytes, first, firstBytes, second, secondBytes);
    if (locked != plSoundResult::Ok) {
        snLogDSError(locked);
        return false;
    }
    FillRegion(static_cast<u8*>(first), firstBytes, m_writeOffset);
    if (secondBytes)
        FillRegion(static_cast<u8*>(second), secondBytes, 0);
    m_buffer->Unlock(first, firstBytes, second, secondBytes);
    m_writeOffset = (m_writeOffset + firstBytes + secondBytes) % m_ringSize;
    return true;
}

// Notes where the stream stands at each segment start, to find the data again after a loss.
void snSoundJob2DStreamedPAC::FillRegion(u8* destination, u32 bytes, u32 ringOffset) {
    for (u32 done = 0; done < bytes;) {
        const u32 at = ringOffset + done;
        const u32 intoSegment = at % m_segmentSize;
        if (intoSegment == 0)
            m_segments[at / m_segmentSize] = {m_wave.dataTotal - m_wave.data.size, m_loopsLeft, m_silence};
        const u32 span = std::min(bytes - done, m_segmentSize - intoSegment);
        FillFromFile(destination + done, span, at);
        done += span;
    }
}

void snSoundJob2DStreamedPAC::FillFromFile(u8* destination, u32 bytes, u32 ringOffset) {
    u32 filled = 0;
    while (filled < bytes && !m_silence) {
        u32 read = 0;
        snWaveRead(m_wave, bytes - filled, destination + filled, read);
        filled += read;
        m_passBytes += read;
        if (filled < bytes)
            EndOfData(ringOffset + filled);
    }
    std::memset(destination + filled, m_settings.format.bitsPerSample == 8 ? 0x80 : 0, bytes - filled);
}

// Every end of the data counts one pass. A pass that brought no byte at all (an empty or vanished
// data chunk) ends the stream, or the refill would rewind for ever.
void snSoundJob2DStreamedPAC::EndOfData(u32 ringOffset) {
    const bool emptyPass = m_passBytes == 0;
    if (m_loopsLeft >= 1 && --m_loopsLeft == 0)
        m_settings.looping = false;
    if (m_settings.looping && !emptyPass && snWaveStartData(m_wave) == snWaveResult::Ok) {
        m_passBytes = 0;
        return;
    }
    m_settings.looping = false;
    m_silence = true;
    if (!m_endKnown) {
        m_endKnown = true;
        m_endArmed = false;
        m_endPosition = ringOffset % m_ringSize;
    }
}

// Replays from the segment's note what the refills did, passes and all.
snSoundJob2DStreamedPAC::StreamPoint snSoundJob2DStreamedPAC::PointAt(u32 ringOffset) const {
    StreamPoint point = m_segments[ringOffset / m_segmentSize];
    const u32 total = m_wave.dataTotal;
    u32 left = ringOffset % m_segmentSize;
    while (left > 0 && !point.ended) {
        if (point.offset >= total) {
            if (total == 0 || (point.loopsLeft >= 1 && --point.loopsLeft == 0))
                point.ended = true;
            point.offset = 0;
            continue;
        }
        const u32 step = std::min(left, total - point.offset);
        point.offset += step;
        left -= step;
    }
    return point;
}

// From a pause the ring holds what is still to play. Otherwise the data start over, except on the
// first play after loading (or after a loss) that finds the ring filled from its start.
void snSoundJob2DStreamedPAC::Play(f32 /*time*/) {
    if (!m_settings.loaded || !CanUseBuffer())
        return;
    if (!m_settings.paused && !m_ringFresh && !m_settings.playRequested) {
        m_buffer->Stop();
        FillRingFrom({0, m_settings.loopCount, false});
    }
    m_resuming = m_settings.paused;
    m_settings.paused = m_settings.stopped = false;
    m_settings.playRequested = true;
}

// A ring always plays looping. A fresh start counts segments from the start position; a resumed
// one keeps its refill point and write offset, which the cursor left exactly as they were.
void snSoundJob2DStreamedPAC::StartPlayback(f32 time) {
    if (!PlayBuffer(plSoundPlayLooping)) {
        PlayFailed();
        return;
    }
    m_playFailures = 0;
    m_settings.startTime = time;
    if (!m_resuming)
        m_refillPoint = m_settings.startPlayPosition - m_settings.startPlayPosition % m_segmentSize;
    m_ringFresh = m_resuming = false;
    m_settings.paused = m_settings.stopped = m_settings.playRequested = false;
}

void snSoundJob2DStreamedPAC::RecreateBuffer() {
    u32 cursor = 0;
    if (!m_buffer || m_buffer->GetCurrentPosition(cursor) != plSoundResult::Ok)
        cursor = m_refillPoint;
    const StreamPoint point = PointAt(cursor);
    m_buffer.reset();
    m_settings.loaded = false;
    if (point.ended) {
        // Everything was played before the loss.
        m_settings.stopped = true;
        m_settings.playRequested = false;
        m_settings.startPlayPosition = 0;
        return;
    }
    plSoundBufferDesc desc;
    desc.flags = kRingFlags;
    desc.bufferBytes = m_ringSize;
    desc.format = m_settings.format.ToPlatform();
    std::unique_ptr<plSoundBuffer> ring;
    if (snGetSoundDevice().CreateBuffer(desc, ring) != plSoundResult::Ok)
        throw snSoundCreateFailedX();
    m_buffer = std::move(ring);
    m_settings.loaded = true;
    ApplyControls();
    FillRingFrom(point);
}

// The refill point m follows the cursor p a segment at a time, measured round the ring, so a cursor
// standing on m is no lap at all. The segment just left is refilled; a refused lock is tried again
// at the next update with the refill point where it was.
void snSoundJob2DStreamedPAC::Update(f32 time) {
    if (!BeginUpdate(time))
        return;
    if (!m_settings.playRequested) {
        u32 cursor = 0;
        const u32 read = m_buffer->GetCurrentPosition(cursor);
        if (read != plSoundResult::Ok) {
            snLogDSError(read);
            return;
        }
        if ((cursor + m_ringSize - m_refillPoint) % m_ringSize >= m_segmentSize && Refill(m_segmentSize))
            m_refillPoint = (m_refillPoint + m_segmentSize) % m_ringSize;
        if (ReachedEnd(cursor))
            return;
    }
    FinishUpdate(time);
}

// Armed once cursor and refill point are seen on the same side of the end, so that the lap in
// which the end was written does not count; stopped when the cursor has reached it.
bool snSoundJob2DStreamedPAC::ReachedEnd(u32 cursor) {
    if (!m_endKnown)
        return false;
    const u32 end = m_endPosition;
    if ((cursor < end && m_refillPoint < end) || (cursor > end && m_refillPoint > end))
        m_endArmed = true;
    if (!m_endArmed || cursor < end || m_refillPoint > end)
        return false;
    m_endArmed = false;
    m_settings.stopped = true;
    Stop();
    return true;
}

void snSoundJob2DStreamedPAC::CopyFrom(const snSoundJob2DPAC& other) {
    Unload();
    CopySettings(other);
    m_settings.loaded = m_settings.paused = false;
    m_settings.startPlayPosition = 0;
    if (!other.IsLoaded() || !snIsSoundSystemUp())
        return;
    CreateBuffer();
    m_settings.loaded = true;
    ApplyControls();
}
