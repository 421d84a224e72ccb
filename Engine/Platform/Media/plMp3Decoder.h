#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

struct mpg123_handle_struct;

// An MPEG audio file decoded to signed 16-bit samples at the file's own rate and channel count.
class plMp3Decoder {
  public:
    plMp3Decoder() = default;
    ~plMp3Decoder();
    plMp3Decoder(const plMp3Decoder&) = delete;
    plMp3Decoder& operator=(const plMp3Decoder&) = delete;

    // False when the file cannot be read or holds no audio frame the decoder accepts.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

    u32 GetRate() const { return m_rate; }
    u32 GetChannels() const { return m_channels; }
    u32 GetBlockAlign() const { return 2 * m_channels; }

    // Decodes up to bytes (whole frames) into out; fewer only at the end of the stream, which a
    // decoding failure or a change of format also counts as.
    u32 Read(u8* out, u32 bytes);
    // Back to the first sample; false when the file cannot seek.
    bool Rewind();

  private:
    mpg123_handle_struct* m_handle = nullptr;
    u32 m_rate = 0;
    u32 m_channels = 0;
    bool m_ended = false;
};
