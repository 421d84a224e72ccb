#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// An MPEG audio file decoded to signed 16-bit samples at the file's own rate and channel count.
class plMp3Decoder {
  public:
    virtual ~plMp3Decoder() = default;

    // False when the file cannot be read or holds no audio frame the decoder accepts.
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual u32 GetRate() const = 0;
    virtual u32 GetChannels() const = 0;
    u32 GetBlockAlign() const { return 2 * GetChannels(); }

    // Decodes up to bytes (whole frames) into out; fewer only at the end of the stream, which a
    // decoding failure or a change of format also counts as.
    virtual u32 Read(u8* out, u32 bytes) = 0;
    // Back to the first sample; false when the file cannot seek.
    virtual bool Rewind() = 0;
};
