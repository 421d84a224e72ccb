#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// One picture of a movie, RGBA rows from the top, and when it is due in seconds from the start.
struct plVideoFrame {
    std::vector<u8> rgba;
    u32 width = 0;
    u32 height = 0;
    f64 time = 0.0;
};

// A movie file: pictures converted to RGBA, sound as signed 16-bit samples in one or two interleaved
// channels. The file is read only as far as the caller asks.
class plMovieSource {
  public:
    virtual ~plMovieSource() = default;

    // False when the file cannot be read or has no picture stream that can be decoded.
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;

    virtual u32 GetWidth() const = 0;
    virtual u32 GetHeight() const = 0;
    virtual bool HasAudio() const = 0;
    virtual u32 GetAudioRate() const = 0;
    virtual u32 GetAudioChannels() const = 0;

    // The next picture in presentation order; false at the end of the stream.
    virtual bool ReadVideoFrame(plVideoFrame& out) = 0;
    // The time of the next picture without taking it; false at the end of the stream.
    virtual bool PeekVideoTime(f64& time) = 0;
    // Up to bytes of sound (whole sample frames); fewer only at its end.
    virtual u32 ReadAudio(u8* out, u32 bytes) = 0;
};
