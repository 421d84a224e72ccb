#include "Engine/Platform/Codec/plAvMovieSource.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "Engine/Platform/Os/plTestFolder.h"

#include <gtest/gtest.h>

TEST(plMovieSource, DeliversEveryPictureInOrderWithItsSound) {
    const plTestFolder folder;
    const std::string path = folder.Path("bars.avi");
    ASSERT_TRUE(plWriteMovieFile(path, plColourBarMovie(48)));

    plAvMovieSource source;
    ASSERT_TRUE(source.Open(path));
    EXPECT_EQ(source.GetWidth(), 64u);
    EXPECT_EQ(source.GetHeight(), 48u);
    ASSERT_TRUE(source.HasAudio());
    EXPECT_EQ(source.GetAudioRate(), 22050u);
    EXPECT_EQ(source.GetAudioChannels(), 1u);

    u32 frames = 0;
    plVideoFrame frame;
    f64 next = 0.0;
    ASSERT_TRUE(source.PeekVideoTime(next));
    EXPECT_DOUBLE_EQ(next, 0.0);
    while (source.ReadVideoFrame(frame)) {
        EXPECT_NEAR(frame.time, frames / 24.0, 1e-6);
        ASSERT_EQ(frame.rgba.size(), 64u * 48u * 4u);
        plExpectColourBars(frame);
        ++frames;
    }
    EXPECT_EQ(frames, 48u);
    EXPECT_FALSE(source.PeekVideoTime(next));

    // The sound read after the pictures is all that the file held: two seconds.
    std::vector<u8> sound(22050 * 4);
    const u32 bytes = source.ReadAudio(sound.data(), static_cast<u32>(sound.size()));
    EXPECT_EQ(bytes, 22050u * 2u * 2u);
    EXPECT_EQ(source.ReadAudio(sound.data(), 2), 0u);
}

TEST(plMovieSource, SoundCanBeReadAheadOfThePictures) {
    const plTestFolder folder;
    const std::string path = folder.Path("bars.avi");
    ASSERT_TRUE(plWriteMovieFile(path, plColourBarMovie(24)));
    plAvMovieSource source;
    ASSERT_TRUE(source.Open(path));
    std::vector<i16> sound(11025);
    ASSERT_EQ(source.ReadAudio(reinterpret_cast<u8*>(sound.data()), 22050), 22050u);
    // The tone comes through: 440 rising zero crossings a second.
    u32 crossings = 0;
    for (size_t i = 1; i < sound.size(); ++i)
        crossings += sound[i - 1] < 0 && sound[i] >= 0;
    EXPECT_NEAR(crossings, 220.0, 2.0);
    u32 frames = 0;
    plVideoFrame frame;
    while (source.ReadVideoFrame(frame))
        ++frames;
    EXPECT_EQ(frames, 24u);
}

TEST(plMovieSource, RefusesMissingSoundOnlyAndDamagedFiles) {
    const plTestFolder folder;
    plAvMovieSource source;
    EXPECT_FALSE(source.Open(folder.Path("missing.avi")));
    plVideoFrame frame;
    EXPECT_FALSE(source.ReadVideoFrame(frame));
    u8 block[16];
    EXPECT_EQ(source.ReadAudio(block, sizeof block), 0u);

    plMovieContent soundOnly = plColourBarMovie(24);
    soundOnly.frames.clear();
    ASSERT_TRUE(plWriteMovieFile(folder.Path("sound.avi"), soundOnly));
    EXPECT_FALSE(source.Open(folder.Path("sound.avi")));

    const std::string path = folder.Path("bars.avi");
    ASSERT_TRUE(plWriteMovieFile(path, plColourBarMovie(6)));
    const std::string whole = folder.Read("bars.avi");
    for (size_t length = 0; length < whole.size(); length += length < 600 ? 7 : 151) {
        folder.Write("cut.avi", whole.substr(0, length));
        if (!source.Open(folder.Path("cut.avi")))
            continue;
        u32 frames = 0;
        while (source.ReadVideoFrame(frame))
            ++frames;
        EXPECT_LE(frames, 6u);
        std::vector<u8> sound(22050);
        while (source.ReadAudio(sound.data(), static_cast<u32>(sound.size())) > 0) {
        }
    }
}
