#include "Engine/Platform/Codec/plAvMovieSource.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Os/plFileText.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

AVCodecContext* OpenDecoder(AVFormatContext* format, int stream) {
    const AVCodecParameters* parameters = format->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        return nullptr;
    AVCodecContext* context = avcodec_alloc_context3(codec);
    if (!context)
        return nullptr;
    if (avcodec_parameters_to_context(context, parameters) < 0 ||
        avcodec_open2(context, codec, nullptr) < 0) {
        avcodec_free_context(&context);
        return nullptr;
    }
    return context;
}

// The mixer plays 100 Hz to 100 kHz; a stream outside that is resampled to a common rate.
u32 PlayableRate(int rate) {
    return rate >= 100 && rate <= 100000 ? static_cast<u32>(rate) : 44100;
}

} // namespace

void plQuietMediaLibraries() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

plAvMovieSource::~plAvMovieSource() {
    Close();
}

void plWarnUnopenedMedia(const std::string& path, int error) {
    DBG_WARNING("%s is not played: %s", path.c_str(),
                error == ENODEV ? "it is not a file (a pipe or a device)" : std::strerror(error));
}

bool plAvMovieSource::Open(const std::string& path) {
    Close();
    // The library opens the file already opened and checked to be one, by its descriptor's name: a pipe in
    // its place is refused, never waited on.
    const int fd = plOpenRegularFile(path);
    if (fd < 0) {
        plWarnUnopenedMedia(path, errno);
        return false;
    }
    plQuietMediaLibraries();
    const std::string opened = "/proc/self/fd/" + std::to_string(fd);
    const int result = avformat_open_input(&m_format, opened.c_str(), nullptr, nullptr);
    close(fd);
    if (result < 0) {
        m_format = nullptr;
        return false;
    }
    if (avformat_find_stream_info(m_format, nullptr) < 0) {
        Close();
        return false;
    }
    m_videoStream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_videoStream < 0 || !(m_video = OpenDecoder(m_format, m_videoStream)) || m_video->width <= 0 ||
        m_video->height <= 0) {
        Close();
        return false;
    }
    const AVStream* video = m_format->streams[m_videoStream];
    m_videoTimeBase = av_q2d(video->time_base);
    m_videoStart =
        video->start_time != AV_NOPTS_VALUE ? static_cast<f64>(video->start_time) * m_videoTimeBase : 0.0;
    const AVRational rate = av_guess_frame_rate(m_format, const_cast<AVStream*>(video), nullptr);
    m_frameDuration = rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 1.0 / 25.0;

    // Sound that cannot be decoded or resampled leaves the movie silent rather than unplayable.
    m_audioStream = av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, m_videoStream, nullptr, 0);
    if (m_audioStream >= 0 && (m_audio = OpenDecoder(m_format, m_audioStream))) {
        m_audioRate = PlayableRate(m_audio->sample_rate);
        m_audioChannels = m_audio->ch_layout.nb_channels >= 2 ? 2 : 1;
        AVChannelLayout outLayout;
        av_channel_layout_default(&outLayout, static_cast<int>(m_audioChannels));
        if (swr_alloc_set_opts2(&m_resampler, &outLayout, AV_SAMPLE_FMT_S16, static_cast<int>(m_audioRate),
                                &m_audio->ch_layout, m_audio->sample_fmt, m_audio->sample_rate, 0,
                                nullptr) < 0 ||
            swr_init(m_resampler) < 0) {
            swr_free(&m_resampler);
            avcodec_free_context(&m_audio);
            m_audioRate = 0;
            m_audioChannels = 0;
        }
        av_channel_layout_uninit(&outLayout);
    }
    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    return m_frame && m_packet;
}

void plAvMovieSource::Close() {
    sws_freeContext(m_scaler);
    m_scaler = nullptr;
    swr_free(&m_resampler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_video);
    avcodec_free_context(&m_audio);
    if (m_format)
        avformat_close_input(&m_format);
    m_videoStream = -1;
    m_audioStream = -1;
    m_audioRate = 0;
    m_audioChannels = 0;
    m_nextTime = 0.0;
    m_ended = false;
    m_pictures.clear();
    m_sound.clear();
    m_soundRead = 0;
}

u32 plAvMovieSource::GetWidth() const {
    return m_video ? static_cast<u32>(m_video->width) : 0;
}

u32 plAvMovieSource::GetHeight() const {
    return m_video ? static_cast<u32>(m_video->height) : 0;
}

bool plAvMovieSource::ReadVideoFrame(plVideoFrame& out) {
    while (m_pictures.empty())
        if (!ReadPacket())
            return false;
    out = std::move(m_pictures.front());
    m_pictures.pop_front();
    return true;
}

bool plAvMovieSource::PeekVideoTime(f64& time) {
    while (m_pictures.empty())
        if (!ReadPacket())
            return false;
    time = m_pictures.front().time;
    return true;
}

u32 plAvMovieSource::ReadAudio(u8* out, u32 bytes) {
    if (!m_audio)
        return 0;
    const u32 frameBytes = 2 * m_audioChannels;
    bytes -= bytes % frameBytes;
    while (m_sound.size() - m_soundRead < bytes)
        if (!ReadPacket())
            break;
    u32 count = static_cast<u32>(std::min<size_t>(bytes, m_sound.size() - m_soundRead));
    count -= count % frameBytes;
    if (count > 0)
        std::memcpy(out, m_sound.data() + m_soundRead, count);
    m_soundRead += count;
    // The consumed front is dropped once it outweighs what is left, so the copy stays cheap.
    if (m_soundRead > m_sound.size() / 2) {
        m_sound.erase(m_sound.begin(), m_sound.begin() + static_cast<std::ptrdiff_t>(m_soundRead));
        m_soundRead = 0;
    }
    return count;
}

bool plAvMovieSource::ReadPacket() {
    if (m_ended || !m_format)
        return false;
    if (av_read_frame(m_format, m_packet) < 0) {
        // The end of the file: whatever the decoders still hold comes out now.
        Decode(m_video, nullptr);
        if (m_audio) {
            Decode(m_audio, nullptr);
            Resample(nullptr, 0);
        }
        m_ended = true;
        return !m_pictures.empty() || m_sound.size() > m_soundRead;
    }
    if (m_packet->stream_index == m_videoStream)
        Decode(m_video, m_packet);
    else if (m_audio && m_packet->stream_index == m_audioStream)
        Decode(m_audio, m_packet);
    av_packet_unref(m_packet);
    return true;
}

void plAvMovieSource::Decode(AVCodecContext* codec, const AVPacket* packet) {
    // A damaged packet is skipped; the decoder goes on with the next one.
    if (avcodec_send_packet(codec, packet) < 0)
        return;
    while (avcodec_receive_frame(codec, m_frame) >= 0) {
        if (codec == m_video)
            TakeVideoFrame(m_frame);
        else
            Resample(const_cast<const u8**>(m_frame->extended_data), m_frame->nb_samples);
        av_frame_unref(m_frame);
    }
}

void plAvMovieSource::TakeVideoFrame(const AVFrame* frame) {
    if (frame->width <= 0 || frame->height <= 0)
        return;
    m_scaler = sws_getCachedContext(m_scaler, frame->width, frame->height,
                                    static_cast<AVPixelFormat>(frame->format), frame->width, frame->height,
                                    AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_scaler)
        return;
    plVideoFrame picture;
    picture.width = static_cast<u32>(frame->width);
    picture.height = static_cast<u32>(frame->height);
    picture.rgba.resize(static_cast<size_t>(picture.width) * picture.height * 4);
    u8* destination[1] = {picture.rgba.data()};
    const int stride[1] = {frame->width * 4};
    sws_scale(m_scaler, frame->data, frame->linesize, 0, frame->height, destination, stride);
    // Pictures without a time stamp follow the last one by one frame's duration.
    const i64 stamp = frame->best_effort_timestamp;
    picture.time =
        stamp != AV_NOPTS_VALUE ? static_cast<f64>(stamp) * m_videoTimeBase - m_videoStart : m_nextTime;
    m_nextTime = picture.time + m_frameDuration;
    m_pictures.push_back(std::move(picture));
}

void plAvMovieSource::Resample(const u8** input, int samples) {
    const int capacity = swr_get_out_samples(m_resampler, samples);
    if (capacity <= 0)
        return;
    const size_t frameBytes = 2 * m_audioChannels;
    const size_t start = m_sound.size();
    m_sound.resize(start + static_cast<size_t>(capacity) * frameBytes);
    u8* destination = m_sound.data() + start;
    const int converted = swr_convert(m_resampler, &destination, capacity, input, samples);
    m_sound.resize(start + static_cast<size_t>(std::max(converted, 0)) * frameBytes);
}
