#pragma once
#include "Engine/Platform/Media/plMp3Decoder.h"

struct mpg123_handle_struct;

// MPEG audio through libmpg123.
class plMpg123Decoder : public plMp3Decoder {
  public:
    plMpg123Decoder() = default;
    ~plMpg123Decoder() override;
    plMpg123Decoder(const plMpg123Decoder&) = delete;
    plMpg123Decoder& operator=(const plMpg123Decoder&) = delete;

    bool Open(const std::string& path) override;
    void Close() override;
    bool IsOpen() const override { return m_handle != nullptr; }

    u32 GetRate() const override { return m_rate; }
    u32 GetChannels() const override { return m_channels; }

    u32 Read(u8* out, u32 bytes) override;
    bool Rewind() override;

  private:
    mpg123_handle_struct* m_handle = nullptr;
    int m_fd = -1;
    u32 m_rate = 0;
    u32 m_channels = 0;
    bool m_ended = false;
};
