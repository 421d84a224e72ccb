#include "Engine/Platform/Codec/plMpg123Decoder.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "Engine/Platform/Os/plTestFolder.h"

#include <gtest/gtest.h>

namespace {

std::vector<i16> DecodeAll(plMp3Decoder& decoder) {
    std::vector<i16> samples;
    std::vector<u8> block(4096);
    while (u32 bytes = decoder.Read(block.data(), static_cast<u32>(block.size())))
        samples.insert(samples.end(), reinterpret_cast<i16*>(block.data()),
                       reinterpret_cast<i16*>(block.data() + bytes));
    return samples;
}

u32 CountRisingZeroCrossings(const std::vector<i16>& samples) {
    u32 count = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        count += samples[i - 1] < 0 && samples[i] >= 0;
    return count;
}

} // namespace

TEST(plMp3Decoder, DecodesAGeneratedToneAtItsOwnRateAndRewinds) {
    const plTestFolder folder;
    const std::string path = folder.Path("tone.mp3");
    ASSERT_TRUE(plWriteMp3File(path, plToneSamples(440.0, 1.0, 44100, 1), 44100, 1));

    plMpg123Decoder decoder;
    ASSERT_TRUE(decoder.Open(path));
    EXPECT_EQ(decoder.GetRate(), 44100u);
    EXPECT_EQ(decoder.GetChannels(), 1u);
    // Odd sizes are cut to whole sample frames.
    u8 odd[3];
    EXPECT_EQ(decoder.Read(odd, 3), 2u);
    std::vector<i16> samples = DecodeAll(decoder);
    // One second, give or take the encoder's frame padding.
    EXPECT_NEAR(static_cast<double>(samples.size()), 44100.0, 2400.0);
    EXPECT_NEAR(CountRisingZeroCrossings(samples), 440.0, 4.0);
    EXPECT_EQ(decoder.Read(odd, 2), 0u);

    ASSERT_TRUE(decoder.Rewind());
    std::vector<i16> again = DecodeAll(decoder);
    EXPECT_EQ(again.size(), samples.size() + 1);
}

TEST(plMp3Decoder, StereoKeepsItsChannels) {
    const plTestFolder folder;
    const std::string path = folder.Path("stereo.mp3");
    ASSERT_TRUE(plWriteMp3File(path, plToneSamples(440.0, 0.5, 22050, 2), 22050, 2));
    plMpg123Decoder decoder;
    ASSERT_TRUE(decoder.Open(path));
    EXPECT_EQ(decoder.GetRate(), 22050u);
    EXPECT_EQ(decoder.GetChannels(), 2u);
    EXPECT_EQ(decoder.GetBlockAlign(), 4u);
    EXPECT_EQ(DecodeAll(decoder).size() % 2, 0u);
}

TEST(plMp3Decoder, MissingGarbageAndTruncatedFilesEndCleanly) {
    const plTestFolder folder;
    plMpg123Decoder decoder;
    EXPECT_FALSE(decoder.Open(folder.Path("missing.mp3")));
    u8 block[64];
    EXPECT_EQ(decoder.Read(block, sizeof block), 0u);
    EXPECT_FALSE(decoder.Rewind());

    std::string garbage(5000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919u) >> 3);
    folder.Write("garbage.mp3", garbage);
    if (decoder.Open(folder.Path("garbage.mp3")))
        DecodeAll(decoder);
    folder.Write("empty.mp3", "");
    EXPECT_FALSE(decoder.Open(folder.Path("empty.mp3")));

    const std::string path = folder.Path("tone.mp3");
    ASSERT_TRUE(plWriteMp3File(path, plToneSamples(440.0, 0.2, 22050, 1), 22050, 1));
    const std::string whole = folder.Read("tone.mp3");
    // Cut everywhere in the header and the first frames, then every 97 bytes.
    for (size_t length = 0; length < whole.size(); length += length < 700 ? 1 : 97) {
        folder.Write("cut.mp3", whole.substr(0, length));
        if (decoder.Open(folder.Path("cut.mp3"))) {
            EXPECT_LE(DecodeAll(decoder).size(), 22050u * 0.2 + 2400);
        }
    }
}
