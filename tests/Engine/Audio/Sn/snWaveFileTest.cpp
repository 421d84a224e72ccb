#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "snWaveBuilder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace snWaveBuilder;

namespace {

class snWaveFileTest : public ::testing::Test {
  protected:
    fsLocator Write(const std::string& bytes, const std::string& name = "a.wav") {
        return m_folder.Write(name, bytes);
    }
    // Opens and finds the data; the code of the first step that fails.
    u32 OpenAndStart(const std::string& bytes) {
        u32 code = snWaveOpen(Write(bytes), m_wave);
        return code ? code : snWaveStartData(m_wave);
    }
    std::string ReadAll() {
        std::string out(m_wave.data.size + 16, '\0');
        u32 read = 0;
        snWaveRead(m_wave, static_cast<u32>(out.size()), out.data(), read);
        out.resize(read);
        return out;
    }

    fsTestFolder m_folder;
    snWaveFile m_wave;
};

const std::string kData = Samples16({1, -2, 3, -4, 5});

} // namespace

TEST_F(snWaveFileTest, ReadsAPcmFileAndStartsItsDataOver) {
    ASSERT_EQ(snWaveOpen(Write(Riff(Pcm(2, 44100, 16) + Chunk("data", kData))), m_wave), snWaveResult::Ok);
    EXPECT_EQ(m_wave.format->channels, 2);
    EXPECT_EQ(m_wave.format->avgBytesPerSec, 176400u);
    EXPECT_EQ(m_wave.format->GetRecordSize(), 18u);
    EXPECT_EQ(m_wave.riff.size, 4 + 24 + 8 + kData.size());
    ASSERT_EQ(snWaveStartData(m_wave), snWaveResult::Ok);
    EXPECT_EQ(m_wave.data.dataOffset, 44u);
    char bytes[32];
    u32 read = 0;
    EXPECT_EQ(snWaveRead(m_wave, 4, bytes, read), snWaveResult::Ok);
    EXPECT_EQ(std::string(bytes, read), kData.substr(0, 4));
    // More than the chunk holds gives what is left; then nothing.
    EXPECT_EQ(snWaveRead(m_wave, 32, bytes, read), snWaveResult::Ok);
    EXPECT_EQ(std::string(bytes, read), kData.substr(4));
    EXPECT_EQ(snWaveRead(m_wave, 32, bytes, read), snWaveResult::Ok);
    EXPECT_EQ(read, 0u);

    ASSERT_EQ(snWaveStartData(m_wave), snWaveResult::Ok);
    EXPECT_EQ(ReadAll(), kData);
    ASSERT_EQ(snWaveSeekData(m_wave, 6), snWaveResult::Ok);
    EXPECT_EQ(ReadAll(), kData.substr(6));
    EXPECT_EQ(snWaveSeekData(m_wave, 11), snWaveResult::DataEnded);
    snWaveClose(m_wave);
    snWaveClose(m_wave);
    EXPECT_EQ(snWaveRead(m_wave, 4, bytes, read), snWaveResult::CannotOpen);

    // Other formats keep their extra bytes; no room for the extra size, or fewer extra bytes than it
    // announces, is not a WAV.
    const std::string adpcm = FmtContents(2, 1, 22050, 11025, 256, 4);
    ASSERT_EQ(OpenAndStart(Riff(Chunk("fmt ", adpcm + envBytes({2, 0, 7, 8})) + Chunk("data", kData))),
              snWaveResult::Ok);
    EXPECT_EQ(m_wave.format->GetRecordSize(), 20u);
    EXPECT_EQ(m_wave.format->extra, (std::vector<u8>{7, 8}));
    EXPECT_FALSE(snIsSupportedWaveFormat(*m_wave.format));
    snWaveClose(m_wave);
    for (const std::string& fmt : {adpcm, adpcm + envBytes({4, 0, 7, 8})}) {
        EXPECT_EQ(OpenAndStart(Riff(Chunk("fmt ", fmt) + Chunk("data", kData))), snWaveResult::NotWave);
        EXPECT_EQ(m_wave.file, nullptr);
    }
}

TEST_F(snWaveFileTest, TheChunkWalkerFollowsTheRiffLayout) {
    // An odd chunk and its pad byte before "fmt "; "data" before "fmt "; chunks after "data"; a RIFF
    // size of 0 or 0xFFFFFFFF (streaming writers), bounded by the file's end.
    const std::string odd = Chunk("junk", "abc");
    const std::string pcm = Pcm(1, 22050, 16);
    const std::string layouts[] = {Riff(odd + pcm + Chunk("data", kData)),
                                   Riff(Chunk("data", kData) + odd + pcm),
                                   Riff(pcm + Chunk("data", kData) + Chunk("LIST", std::string(900, 'x'))),
                                   Riff(pcm + Chunk("data", kData, 0xFFFFFFFF), 0),
                                   Riff(pcm + Chunk("data", kData, 0xFFFFFFFF), 0xFFFFFFFF),
                                   Riff(pcm + Chunk("data", kData, 1000), 2000)};
    for (const std::string& bytes : layouts) {
        ASSERT_EQ(OpenAndStart(bytes), snWaveResult::Ok) << bytes.size();
        EXPECT_EQ(m_wave.dataTotal, kData.size());
        EXPECT_EQ(ReadAll(), kData);
        snWaveClose(m_wave);
    }
    // A data chunk past the RIFF end holds what the RIFF chunk holds.
    ASSERT_EQ(
        OpenAndStart(Riff(pcm + Chunk("data", kData) + "trailing", static_cast<u32>(4 + pcm.size() + 8 + 4))),
        snWaveResult::Ok);
    EXPECT_EQ(ReadAll(), kData.substr(0, 4));
    snWaveClose(m_wave);
    // A chunk size that would run past 4 GiB ends the walk instead of wrapping round.
    EXPECT_EQ(OpenAndStart(Riff(Chunk("junk", "", 0xFFFFFFF0) + pcm + Chunk("data", kData))),
              snWaveResult::NotWave);
}

TEST_F(snWaveFileTest, MalformedHeadersGiveTheReaderCodes) {
    EXPECT_EQ(snWaveOpen(m_folder.Locator("missing.wav"), m_wave), snWaveResult::CannotOpen);
    const std::string pcm = Pcm(1, 22050, 16);
    const std::pair<std::string, u32> cases[] = {
        {"RIFX", snWaveResult::NotWave},
        {Riff(pcm).replace(8, 4, "AVI "), snWaveResult::NotWave},
        {Riff(Chunk("data", kData)), snWaveResult::NotWave},
        {Riff(Chunk("fmt ", FmtContents(1, 1, 22050, 44100, 2, 16).substr(0, 14)) + Chunk("data", kData)),
         snWaveResult::NotWave},
        {Riff(pcm).substr(0, 30), snWaveResult::FormatReadShort}, // ends inside a 16-byte format
        {Riff(pcm), snWaveResult::NotWave},                       // no data chunk
    };
    for (const auto& [bytes, code] : cases) {
        EXPECT_EQ(OpenAndStart(bytes), code) << bytes.size();
        snWaveClose(m_wave);
    }
}

TEST_F(snWaveFileTest, AFileThatShrinksUnderTheReaderReportsTheBytesCopied) {
    // Longer than the stream's read-ahead, so that the cut end is read from the file.
    const std::string data(100000, '\x11');
    const std::string bytes = Riff(Pcm(1, 22050, 16) + Chunk("data", data));
    ASSERT_EQ(OpenAndStart(bytes), snWaveResult::Ok);
    std::filesystem::resize_file(m_folder.Path("a.wav"), bytes.size() - 4);
    ASSERT_EQ(snWaveSeekData(m_wave, static_cast<u32>(data.size()) - 10), snWaveResult::Ok);
    char out[16];
    u32 read = 0;
    EXPECT_EQ(snWaveRead(m_wave, 10, out, read), snWaveResult::DataEnded);
    EXPECT_EQ(read, 6u);
    EXPECT_EQ(snWaveRead(m_wave, 10, out, read), snWaveResult::DataEnded);
    EXPECT_EQ(read, 0u);
}

// Playback needs 1-2 channels, 8 or 16 bits, alignment = channels x bits / 8, rate 100-100000 and
// consistent bytes per second.
TEST_F(snWaveFileTest, PlaybackNeedsAPcmFormatTheMixerPlays) {
    snWaveFile wave;
    EXPECT_THROW(snWaveOpenForPlayback(m_folder.Locator("missing.wav"), wave), fsFileDoesntExistX);
    EXPECT_THROW(snWaveOpenForPlayback(Write("not a wave"), wave), snCorruptedFileX);
    EXPECT_THROW(snWaveOpenForPlayback(Write(Riff(Pcm(1, 22050, 16))), wave), snCorruptedFileX);

    const auto fmt = [](u16 tag, u16 channels, u32 rate, u32 perSec, u16 align, u16 bits) {
        return Riff(Chunk("fmt ", FmtContents(tag, channels, rate, perSec, align, bits) +
                                      (tag == 1 ? "" : std::string(2, '\0'))) +
                    Chunk("data", kData));
    };
    const std::string unsupported[] = {fmt(1, 1, 22050, 44100, 0, 16), fmt(1, 1, 0, 0, 2, 16),
                                       fmt(1, 1, 99, 198, 2, 16),      fmt(1, 1, 100001, 200002, 2, 16),
                                       fmt(1, 0, 22050, 0, 0, 16),     fmt(1, 3, 22050, 132300, 6, 16),
                                       fmt(1, 1, 22050, 66150, 3, 24), fmt(1, 2, 22050, 44100, 2, 16),
                                       fmt(1, 2, 22050, 44100, 4, 16), fmt(3, 1, 22050, 88200, 4, 32)};
    for (const std::string& bytes : unsupported) {
        EXPECT_THROW(snWaveOpenForPlayback(Write(bytes), wave), snUnsupportedSoundFileTypeX);
        EXPECT_EQ(wave.file, nullptr);
    }
    snWaveOpenForPlayback(Write(fmt(1, 2, 11025, 22050, 2, 8)), wave);
    EXPECT_EQ(wave.data.size, kData.size());
}
