// The shipped intro movies through the game's movie decoder: each a title card of the menu's size, a few
// seconds long, that fades up from black and back, with sound; the two cards differ.
#include "Engine/Platform/Codec/plLibMediaDecoders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double MeanLevel(const plVideoFrame& frame) {
    double sum = 0.0;
    for (size_t i = 0; i + 3 < frame.rgba.size(); i += 4)
        sum += frame.rgba[i] + frame.rgba[i + 1] + frame.rgba[i + 2];
    return sum / (3.0 * frame.width * frame.height);
}

TEST(IntroMovies, EachIsAFadedTitleCardOfTheMenusSizeWithSound) {
    plLibMediaDecoders media;
    std::vector<double> brightest;
    for (const char* name : {"zandrel.avi", "brisomar.avi"}) {
        const auto movie = media.CreateMovieSource();
        ASSERT_TRUE(movie->Open(std::string(LV_DATA_DIR "/Data/Video/") + name)) << name;
        EXPECT_EQ(std::tuple(movie->GetWidth(), movie->GetHeight()), std::tuple(800u, 600u)) << name;
        std::vector<double> levels;
        double length = 0.0;
        for (plVideoFrame frame; movie->ReadVideoFrame(frame);) {
            levels.push_back(MeanLevel(frame));
            length = frame.time;
        }
        ASSERT_FALSE(levels.empty()) << name;
        EXPECT_GT(length, 1.5) << name;
        EXPECT_LT(length, 4.0) << name;
        EXPECT_LT(levels.front(), 2.0) << name;
        EXPECT_LT(levels.back(), 12.0) << name;
        brightest.push_back(*std::max_element(levels.begin(), levels.end()));
        EXPECT_GT(brightest.back(), 10.0 + levels.back()) << name;

        ASSERT_TRUE(movie->HasAudio()) << name;
        std::vector<i16> sound(movie->GetAudioRate() * movie->GetAudioChannels() * 4);
        sound.resize(
            movie->ReadAudio(reinterpret_cast<u8*>(sound.data()), static_cast<u32>(sound.size() * 2)) / 2);
        int peak = 0;
        for (i16 sample : sound)
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        EXPECT_GT(peak, 3000) << name;
    }
    // The maker's card is dark blue; the game's is sky and lawn.
    EXPECT_GT(brightest[1], brightest[0] + 40.0);
}

} // namespace
