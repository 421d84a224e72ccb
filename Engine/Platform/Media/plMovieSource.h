#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <deque>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct SwrContext;

// The media libraries report damaged files on stderr; the players answer such files themselves.
void plQuietMediaLibraries();

// One picture of a movie, RGBA rows from the top, and when it is due in seconds from the start.
struct plVideoFrame {
    std::vector<u8> rgba;
    u32 width = 0;
    u32 height = 0;
    f64 time = 0.0;
};

// A movie file read through the demuxer and decoders: pictures converted to RGBA, sound resampled
// to signed 16-bit samples in one or two interleaved channels. The file is read only as far as the
// caller asks, so memory holds what one stream is ahead of the other.
class plMovieSource {
  public:
    plMovieSource() = default;
    ~plMovieSource();
    plMovieSource(const plMovieSource&) = delete;
    plMovieSource& operator=(const plMovieSource&) = delete;

    // False when the file cannot be read or has no picture stream that can be decoded.
    bool Open(const std::string& path);
    void Close();

    u32 GetWidth() const;
    u32 GetHeight() const;
    bool HasAudio() const { return m_audio != nullptr; }
    u32 GetAudioRate() const { return m_audioRate; }
    u32 GetAudioChannels() const { return m_audioChannels; }

    // The next picture in presentation order; false at the end of the stream.
    bool ReadVideoFrame(plVideoFrame& out);
    // The time of the next picture without taking it; false at the end of the stream.
    bool PeekVideoTime(f64& time);
    // Up to bytes of sound (whole sample frames); fewer only at its end.
    u32 ReadAudio(u8* out, u32 bytes);

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
