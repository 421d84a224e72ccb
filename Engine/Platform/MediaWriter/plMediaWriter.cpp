#include "Engine/Platform/MediaWriter/plMediaWriter.h"

#include "Engine/Platform/Codec/plAvMovieSource.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <memory>

namespace {

struct FormatDeleter {
    void operator()(AVFormatContext* format) const {
        if (format->pb)
            avio_closep(&format->pb);
        avformat_free_context(format);
    }
};
struct CodecDeleter {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatDeleter>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;

// One encoded stream of the output file.
struct Output {
    AVStream* stream = nullptr;
    CodecPtr codec;
};

// Sends a frame (null drains the encoder) and writes every packet that comes out.
bool Encode(AVFormatContext* format, Output& output, AVFrame* frame) {
    if (avcodec_send_frame(output.codec.get(), frame) < 0)
        return false;
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return false;
    for (;;) {
        const int result = avcodec_receive_packet(output.codec.get(), packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            return false;
        av_packet_rescale_ts(packet.get(), output.codec->time_base, output.stream->time_base);
        packet->stream_index = output.stream->index;
        if (av_interleaved_write_frame(format, packet.get()) < 0)
            return false;
    }
}

bool OpenOutput(AVFormatContext* format, Output& output, const AVCodec* codec) {
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        output.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(output.codec.get(), codec, nullptr) < 0)
        return false;
    output.stream = avformat_new_stream(format, nullptr);
    if (!output.stream || avcodec_parameters_from_context(output.stream->codecpar, output.codec.get()) < 0)
        return false;
    output.stream->time_base = output.codec->time_base;
    return true;
}

bool AddVideo(AVFormatContext* format, Output& output, const plMovieContent& content) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec)
        return false;
    output.codec.reset(avcodec_alloc_context3(codec));
    AVCodecContext* context = output.codec.get();
    if (!context)
        return false;
    context->width = static_cast<int>(content.width);
    context->height = static_cast<int>(content.height);
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = AVRational{1, static_cast<int>(content.frameRate)};
    context->framerate = AVRational{static_cast<int>(content.frameRate), 1};
    context->gop_size = 12;
    // A fixed fine quantiser keeps flat colours within a few steps of the source.
    context->flags |= AV_CODEC_FLAG_QSCALE;
    context->global_quality = FF_QP2LAMBDA * 2;
    return OpenOutput(format, output, codec);
}

bool AddAudio(AVFormatContext* format, Output& output, AVCodecID id, AVSampleFormat sampleFormat, u32 rate,
              u32 channels, u32 bitRate) {
    const AVCodec* codec = avcodec_find_encoder(id);
    if (!codec)
        return false;
    output.codec.reset(avcodec_alloc_context3(codec));
    AVCodecContext* context = output.codec.get();
    if (!context)
        return false;
    context->sample_fmt = sampleFormat;
    context->sample_rate = static_cast<int>(rate);
    av_channel_layout_default(&context->ch_layout, static_cast<int>(channels));
    context->time_base = AVRational{1, static_cast<int>(rate)};
    context->bit_rate = bitRate;
    return OpenOutput(format, output, codec);
}

bool WriteVideo(AVFormatContext* format, Output& output, const plMovieContent& content) {
    const int width = static_cast<int>(content.width);
    const int height = static_cast<int>(content.height);
    SwsContext* scaler = sws_getContext(width, height, AV_PIX_FMT_RGBA, width, height, AV_PIX_FMT_YUV420P,
                                        SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler)
        return false;
    FramePtr frame(av_frame_alloc());
    if (!frame) {
        sws_freeContext(scaler);
        return false;
    }
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    bool ok = av_frame_get_buffer(frame.get(), 0) >= 0;
    for (size_t i = 0; ok && i < content.frames.size(); ++i) {
        if (content.frames[i].size() != static_cast<size_t>(width) * height * 4 ||
            av_frame_make_writable(frame.get()) < 0) {
            ok = false;
            break;
        }
        const u8* source[1] = {content.frames[i].data()};
        const int stride[1] = {width * 4};
        sws_scale(scaler, source, stride, 0, height, frame->data, frame->linesize);
        frame->pts = static_cast<i64>(i);
        ok = Encode(format, output, frame.get());
    }
    sws_freeContext(scaler);
    return ok && Encode(format, output, nullptr);
}

// Feeds the samples in the encoder's frame size (1024 for encoders that take any), planar or not.
bool WriteAudio(AVFormatContext* format, Output& output, const std::vector<i16>& samples, u32 channels) {
    AVCodecContext* context = output.codec.get();
    const u32 frameSize = context->frame_size > 0 ? static_cast<u32>(context->frame_size) : 1024;
    const bool planar = av_sample_fmt_is_planar(context->sample_fmt);
    const u32 total = static_cast<u32>(samples.size() / channels);
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return false;
    for (u32 start = 0; start < total; start += frameSize) {
        const u32 count = std::min(frameSize, total - start);
        frame->format = context->sample_fmt;
        frame->sample_rate = context->sample_rate;
        frame->nb_samples = static_cast<int>(count);
        if (av_channel_layout_copy(&frame->ch_layout, &context->ch_layout) < 0 ||
            av_frame_get_buffer(frame.get(), 0) < 0)
            return false;
        for (u32 s = 0; s < count; ++s)
            for (u32 c = 0; c < channels; ++c) {
                const i16 value = samples[(start + s) * channels + c];
                if (planar)
                    reinterpret_cast<i16*>(frame->data[c])[s] = value;
                else
                    reinterpret_cast<i16*>(frame->data[0])[s * channels + c] = value;
            }
        frame->pts = start;
        if (!Encode(format, output, frame.get()))
            return false;
        av_frame_unref(frame.get());
    }
    return Encode(format, output, nullptr);
}

bool WriteHeader(AVFormatContext* format, const std::string& path) {
    return avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 &&
           avformat_write_header(format, nullptr) >= 0;
}

} // namespace

bool plWriteMp3File(const std::string& path, const std::vector<i16>& samples, u32 rate, u32 channels,
                    u32 bitRate) {
    plQuietMediaLibraries();
    if (channels < 1 || channels > 2 || rate == 0)
        return false;
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, "mp3", path.c_str()) < 0)
        return false;
    FormatPtr format(raw);
    Output audio;
    if (!AddAudio(raw, audio, AV_CODEC_ID_MP3, AV_SAMPLE_FMT_S16P, rate, channels, bitRate) ||
        !WriteHeader(raw, path) || !WriteAudio(raw, audio, samples, channels))
        return false;
    return av_write_trailer(raw) >= 0;
}

bool plWriteMovieFile(const std::string& path, const plMovieContent& content) {
    plQuietMediaLibraries();
    const bool hasVideo = !content.frames.empty();
    const bool hasAudio = !content.audio.empty();
    if ((hasVideo && (content.width == 0 || content.height == 0 || content.frameRate == 0)) ||
        (hasAudio && (content.audioRate == 0 || content.audioChannels < 1 || content.audioChannels > 2)))
        return false;
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, "avi", path.c_str()) < 0)
        return false;
    FormatPtr format(raw);
    Output video;
    Output audio;
    if ((hasVideo && !AddVideo(raw, video, content)) ||
        (hasAudio && !AddAudio(raw, audio, AV_CODEC_ID_PCM_S16LE, AV_SAMPLE_FMT_S16, content.audioRate,
                               content.audioChannels, 0)) ||
        !WriteHeader(raw, path))
        return false;
    // The muxer interleaves the two streams by time, holding packets back as needed.
    if ((hasVideo && !WriteVideo(raw, video, content)) ||
        (hasAudio && !WriteAudio(raw, audio, content.audio, content.audioChannels)))
        return false;
    return av_write_trailer(raw) >= 0;
}
