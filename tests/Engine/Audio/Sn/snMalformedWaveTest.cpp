#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "snAudioFixture.h"
#include "snWaveBuilder.h"

using namespace snWaveBuilder;

namespace {

// Every way in: the reader to the end of the data, then a static and a streamed load and a few
// updates. Each either works or throws one of the engine's exceptions.
class snMalformedWaveTest : public snAudioFixture {
  protected:
    void Feed(const std::string& bytes, const std::string& label) {
        const fsLocator file = m_folder.Write("bad.wav", bytes);
        snWaveFile wave;
        if (snWaveOpen(file, wave) == snWaveResult::Ok && snWaveStartData(wave) == snWaveResult::Ok) {
            std::vector<u8> data(4096);
            u32 read = 0, total = 0;
            while (snWaveRead(wave, static_cast<u32>(data.size()), data.data(), read) == snWaveResult::Ok &&
                   read)
                total += read;
            EXPECT_EQ(total, wave.dataTotal) << label;
            EXPECT_LE(static_cast<u64>(wave.data.dataOffset) + wave.dataTotal, bytes.size()) << label;
        }
        Play<snSoundJob2DPAC>(file, label);
        Play<snSoundJob2DStreamedPAC>(file, label);
    }

    template <class Job> void Play(const fsLocator& file, const std::string& label) {
        Job job;
        job.SetFile(file);
        job.SetLoopCount(-1);
        try {
            job.Load();
        } catch (const envExceptionX&) {
            EXPECT_FALSE(job.IsLoaded()) << label;
            return;
        }
        job.Play(0.0f);
        for (int frame = 0; frame < 3; ++frame) {
            job.Update(frame * 0.5f);
            m_device.Render(kRenderFrames);
        }
        m_device.ClearOutput();
    }

    static constexpr u32 kRenderFrames = 1024;
};

const std::string kSamples = Samples16({100, -200, 300, -400, 500, -600, 700, -800});

} // namespace

TEST_F(snMalformedWaveTest, TheCorpusRunsClean) {
    const std::string pcm = Pcm(1, 22050, 16);
    const auto fmt = [](u16 tag, u16 channels, u32 rate, u32 perSec, u16 align, u16 bits) {
        return Chunk("fmt ", FmtContents(tag, channels, rate, perSec, align, bits));
    };
    const std::pair<const char*, std::string> corpus[] = {
        {"alignment 0", Riff(fmt(1, 1, 22050, 44100, 0, 16) + Chunk("data", kSamples))},
        {"rate 0", Riff(fmt(1, 1, 0, 0, 2, 16) + Chunk("data", kSamples))},
        {"channels 0", Riff(fmt(1, 0, 22050, 0, 0, 16) + Chunk("data", kSamples))},
        {"huge rate", Riff(fmt(1, 2, 0xFFFFFFFF, 0xFFFFFFFC, 4, 16) + Chunk("data", kSamples))},
        {"fmt of 14 bytes",
         Riff(Chunk("fmt ", FmtContents(1, 1, 22050, 44100, 2, 16).substr(0, 14)) + Chunk("data", kSamples))},
        {"odd pad byte", Riff(Chunk("junk", "x") + pcm + Chunk("data", kSamples + "z"))},
        {"odd chunk without its pad", Riff(Chunk("junk", "x", 1, false) + pcm + Chunk("data", kSamples))},
        {"data before fmt", Riff(Chunk("data", kSamples) + pcm)},
        {"data past the end", Riff(pcm + Chunk("data", kSamples, 0x7FFFFFF0))},
        {"data size 0xFFFFFFFF", Riff(pcm + Chunk("data", kSamples, 0xFFFFFFFF))},
        {"RIFF size 0xFFFFFFFF", Riff(pcm + Chunk("data", kSamples), 0xFFFFFFFF)},
        {"RIFF size 0", Riff(pcm + Chunk("data", kSamples), 0)},
        {"RIFF size 3", Riff(pcm + Chunk("data", kSamples), 3)},
        {"RIFF size cuts the data", Riff(pcm + Chunk("data", kSamples), 40)},
        {"fmt size huge",
         Riff(Chunk("fmt ", FmtContents(1, 1, 22050, 44100, 2, 16), 0xFFFFFFF0) + Chunk("data", kSamples))},
        {"extra size huge",
         Riff(Chunk("fmt ", FmtContents(2, 1, 22050, 44100, 2, 16) + "\xFF\xFF") + Chunk("data", kSamples))},
        {"empty data", Riff(pcm + Chunk("data", ""))},
        {"one byte of 16-bit data", Riff(pcm + Chunk("data", "\x01"))},
        {"no data", Riff(pcm)},
        {"nothing", ""},
        {"RIFF only", "RIFF"},
        {"chunk header cut", Riff(pcm + "dat")},
    };
    for (const auto& [label, bytes] : corpus)
        Feed(bytes, label);
}

TEST_F(snMalformedWaveTest, EveryTruncationRunsClean) {
    const std::string bytes = Riff(Chunk("LIST", "abc") + Pcm(2, 22050, 16) + Chunk("data", kSamples) +
                                   Chunk("cue ", std::string(6, 'c')));
    for (size_t length = 0; length <= bytes.size(); ++length)
        Feed(bytes.substr(0, length), "truncated at " + std::to_string(length));
}
