#pragma once
#include "Engine/Platform/Media/plMovieSource.h"

#include <deque>
#include <string>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;

// The media libraries report damaged files on stderr; the players answer such files themselves.
void plQuietMediaLibraries();
// Logs that a media file was not opened: it is missing, unreadable, or not a file (errno `error`).
void plWarnUnopenedMedia(const std::string& path, int error);

// A movie read through libavformat and libavcodec: pictures scaled to RGBA by libswscale, sound
// resampled by libswresample. Memory holds what one stream is ahead of the other.
class plAvMovieSource : public plMovieSource {
  public:
    plAvMovieSource() = default;
    ~plAvMovieSource() override;
    plAvMovieSource(const plAvMovieSource&) = delete;
    plAvMovieSource& operator=(const plAvMovieSource&) = delete;

    bool Open(const std::string& path) override;
    void Close() override;

    u32 GetWidth() const override;
    u32 GetHeight() const override;
    bool HasAudio() const override { return m_audio != nullptr; }
    u32 GetAudioRate() const override { return m_audioRate; }
    u32 GetAudioChannels() const override { return m_audioChannels; }

    bool ReadVideoFrame(plVideoFrame& out) override;
    bool PeekVideoTime(f64& time) override;
    u32 ReadAudio(u8* out, u32 bytes) override;

  private:
    // Reads and decodes one packet of the file; false when the file has ended and both decoders are
    // drained.
    bool ReadPacket();
    void Decode(AVCodecContext* codec, const AVPacket* packet);
    void TakeVideoFrame(const AVFrame* frame);
    // Appends converted sound; no input drains what the resampler holds back.
    void Resample(const u8** input, int samples);

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_video = nullptr;
    AVCodecContext* m_audio = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    SwsContext* m_scaler = nullptr;
    SwrContext* m_resampler = nullptr;
    int m_videoStream = -1;
    int m_audioStream = -1;
    f64 m_videoTimeBase = 0.0;
    f64 m_videoStart = 0.0;
    f64 m_frameDuration = 0.0;
    f64 m_nextTime = 0.0;
    u32 m_audioRate = 0;
    u32 m_audioChannels = 0;
    bool m_ended = false;

    std::deque<plVideoFrame> m_pictures;
    std::vector<u8> m_sound;
    size_t m_soundRead = 0;
};
