#pragma once
// Fixtures for the MP3 and movie tests, made at test time with the platform's encoders.
#include "Engine/Platform/Media/plMovieSource.h"
#include "Engine/Platform/MediaWriter/plMediaWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

// A sine tone, interleaved over the channels.
inline std::vector<i16> plToneSamples(double hertz, double seconds, u32 rate, u32 channels,
                                      double amplitude = 0.5) {
    const auto frames = static_cast<size_t>(seconds * rate);
    std::vector<i16> samples(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        const double value =
            amplitude * 32767.0 * std::sin(2.0 * M_PI * hertz * static_cast<double>(i) / rate);
        for (u32 c = 0; c < channels; ++c)
            samples[i * channels + c] = static_cast<i16>(std::lround(value));
    }
    return samples;
}

// The root mean square of samples[begin, end), every stride-th sample.
inline double plRms(const std::vector<i16>& samples, size_t begin, size_t end, size_t stride = 1) {
    double sum = 0.0;
    size_t count = 0;
    for (size_t i = begin; i < end && i < samples.size(); i += stride, ++count)
        sum += static_cast<double>(samples[i]) * samples[i];
    return count ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

// The eight bars, left to right: white, yellow, cyan, green, magenta, red, blue, black.
inline std::array<u8, 3> plBarColour(u32 bar) {
    static constexpr u8 bars[8][3] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                      {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
    return {bars[bar][0], bars[bar][1], bars[bar][2]};
}

// The colour in the middle of each bar of a frame, within a tolerance for the codec's losses.
inline void plExpectColourBars(const plVideoFrame& frame) {
    for (u32 bar = 0; bar < 8; ++bar) {
        const u32 x = bar * frame.width / 8 + frame.width / 16;
        const u8* pixel = &frame.rgba[(static_cast<size_t>(frame.height / 2) * frame.width + x) * 4];
        const auto expected = plBarColour(bar);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixel[c], expected[c], 24) << "bar " << bar << " channel " << c;
    }
}

inline std::vector<u8> plColourBars(u32 width, u32 height) {
    std::vector<u8> rgba(static_cast<size_t>(width) * height * 4);
    for (u32 y = 0; y < height; ++y)
        for (u32 x = 0; x < width; ++x) {
            const auto colour = plBarColour(x * 8 / width);
            u8* pixel = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            pixel[0] = colour[0];
            pixel[1] = colour[1];
            pixel[2] = colour[2];
            pixel[3] = 255;
        }
    return rgba;
}

// A 64x48 movie of colour bars at 24 frames a second with a 440 Hz tone (22050 Hz mono).
inline plMovieContent plColourBarMovie(u32 frames, bool withSound = true) {
    plMovieContent content;
    content.width = 64;
    content.height = 48;
    content.frameRate = 24;
    content.frames.assign(frames, plColourBars(64, 48));
    if (withSound) {
        content.audioRate = 22050;
        content.audioChannels = 1;
        content.audio = plToneSamples(440.0, frames / 24.0, 22050, 1);
    }
    return content;
}
