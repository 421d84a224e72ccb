#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Platform/Sound/plSoundBuffer.h"
#include "Engine/Platform/Sound/plSoundMixer.h"
#include "snAudioFixture.h"
#include "snWaveBuilder.h"

using namespace snWaveBuilder;

namespace {

constexpr u32 kRate = 22050;
constexpr u32 kSegmentFrames = kRate / 2;

std::vector<i16> Repeat(const std::vector<i16>& samples, u32 times) {
    std::vector<i16> out;
    for (u32 i = 0; i < times; ++i)
        out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

// The first place where what was heard (silence left out) leaves the expected sequence.
::testing::AssertionResult HeardInOrder(const std::vector<i16>& output, const std::vector<i16>& expected) {
    std::vector<i16> heard;
    std::copy_if(output.begin(), output.end(), std::back_inserter(heard), [](i16 s) { return s != 0; });
    const size_t common = std::min(heard.size(), expected.size());
    for (size_t i = 0; i < common; ++i)
        if (heard[i] != expected[i])
            return ::testing::AssertionFailure()
                   << "sample " << i << " is " << heard[i] << ", expected " << expected[i];
    if (heard.size() != expected.size())
        return ::testing::AssertionFailure()
               << heard.size() << " samples heard, " << expected.size() << " expected";
    return ::testing::AssertionSuccess();
}

// Silent output frames between the first and the last sound.
size_t Gaps(const std::vector<i16>& output) {
    const auto first = std::find_if(output.begin(), output.end(), [](i16 s) { return s != 0; });
    const auto last = std::find_if(output.rbegin(), output.rend(), [](i16 s) { return s != 0; }).base();
    return first < last ? static_cast<size_t>(std::count(first, last, 0)) : 0;
}

// Output frames after the last sound.
size_t Tail(const std::vector<i16>& output) {
    return static_cast<size_t>(std::find_if(output.rbegin(), output.rend(), [](i16 s) { return s != 0; }) -
                               output.rbegin());
}

class snStreamTest : public snAudioFixture {
  protected:
    void Open(const std::string& bytes, i32 loops = 1) {
        m_stream.SetFile(m_folder.Write("m.wav", bytes));
        m_stream.SetLoopCount(loops);
        m_stream.Load();
        ASSERT_TRUE(m_stream.IsLoaded());
    }

    // One frame of the game at 60 Hz: the update, then a 60th of a second of output.
    void Frame() {
        m_stream.Update(m_time);
        const u32 frames = static_cast<u32>((m_frame + 1) * kRate / 60 - m_frame * kRate / 60);
        m_device.Render(frames);
        ++m_frame;
        m_time = static_cast<f32>(m_frame) / 60.0f;
    }
    void Run(f32 seconds) {
        for (u32 i = 0, n = static_cast<u32>(seconds * 60.0f); i < n; ++i)
            Frame();
    }
    void RunUntilStopped(f32 limit) {
        for (u32 i = 0, n = static_cast<u32>(limit * 60.0f); i < n && !m_stream.IsStopped(); ++i)
            Frame();
        EXPECT_TRUE(m_stream.IsStopped());
    }
    const std::vector<i16>& Output() const { return m_device.GetOutput(); }

    snSoundJob2DStreamedPAC m_stream;
    u64 m_frame = 0;
    f32 m_time = 0.0f;
};

const std::vector<i16> kTwentySeconds = Ramp(20 * kRate);

} // namespace

TEST(snStreamRing, SegmentAndRingFollowTheFormat) {
    const auto format = [](u16 channels, u32 rate, u16 bits) {
        snWaveFormat f;
        f.formatTag = 1;
        f.channels = channels;
        f.samplesPerSec = rate;
        f.bitsPerSample = bits;
        f.blockAlign = static_cast<u16>(channels * bits / 8);
        f.avgBytesPerSec = rate * f.blockAlign;
        return f;
    };
    EXPECT_EQ(snSoundJob2DStreamedPAC::SegmentSizeOf(format(2, 44100, 16)), 88200u);
    EXPECT_EQ(12 * snSoundJob2DStreamedPAC::SegmentSizeOf(format(2, 44100, 16)), 1058400u);
    EXPECT_EQ(snSoundJob2DStreamedPAC::SegmentSizeOf(format(1, 22050, 16)), 22050u);
    EXPECT_EQ(snSoundJob2DStreamedPAC::SegmentSizeOf(format(2, 11025, 16)), 22052u); // whole frames
    EXPECT_EQ(snSoundJob2DStreamedPAC::SegmentSizeOf(format(1, 100, 8)), 50u);
}

// Each file plays through the 60 Hz game loop to its end: in order, without gaps, stopping within a
// segment of the end. 20 s once and twice; a file shorter than a segment three times, ending off any
// boundary; the end found whatever the RIFF size says; 8-bit data; an empty data chunk, which ends
// instead of rewinding for ever.
TEST_F(snStreamTest, FilesPlayInOrderToTheirEnd) {
    const std::vector<i16> blip = Ramp(4410 + 7);
    const std::vector<i16> two = Ramp(2 * kRate + 100);
    const std::string trailing = Pcm(1, kRate, 16) + Chunk("data", Samples16(two)) +
                                 Chunk("LIST", std::string(50000, 'i')) + Chunk("cue ", std::string(9, 'c'));
    std::string eightBit;
    std::vector<i16> eightBitHeard;
    for (u32 i = 0; i < kRate; ++i) {
        eightBit += static_cast<char>(129 + i % 127);
        eightBitHeard.push_back(static_cast<i16>((1 + i % 127) * 256));
    }
    struct Case {
        const char* name;
        std::string bytes;
        i32 loops;
        std::vector<i16> heard;
        f32 limit;
    };
    const Case cases[] = {
        {"20 s", Wave16(kTwentySeconds), 1, kTwentySeconds, 25.0f},
        {"20 s twice", Wave16(kTwentySeconds), 2, Repeat(kTwentySeconds, 2), 45.0f},
        {"a blip three times", Wave16(blip), 3, Repeat(blip, 3), 10.0f},
        {"the RIFF size right", Riff(trailing), 1, two, 5.0f},
        {"RIFF size 0", Riff(trailing, 0), 1, two, 5.0f},
        {"RIFF size 0xFFFFFFFF", Riff(trailing, 0xFFFFFFFF), 1, two, 5.0f},
        {"8 bits", Riff(Pcm(1, kRate, 8) + Chunk("data", eightBit)), 1, eightBitHeard, 3.0f},
        {"empty data", Riff(Pcm(1, kRate, 16) + Chunk("data", "")), -1, {}, 8.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_device.ClearOutput();
        Open(c.bytes, c.loops);
        m_stream.Play(m_time);
        RunUntilStopped(c.limit);
        EXPECT_TRUE(HeardInOrder(Output(), c.heard));
        EXPECT_EQ(Gaps(Output()), 0u);
        if (!c.heard.empty()) {
            EXPECT_LE(Tail(Output()), kSegmentFrames);
        }
        m_stream.Unload();
    }
}

TEST_F(snStreamTest, PauseAndResumeLoseNothing) {
    Open(Wave16(kTwentySeconds));
    EXPECT_EQ(m_stream.GetSegmentSize(), 22050u);
    EXPECT_EQ(m_stream.GetRingSize(), 264600u);
    m_stream.Play(0.0f);
    Run(7.3f);
    m_stream.Pause();
    const size_t before = Output().size();
    Run(1.0f);
    EXPECT_FALSE(m_stream.IsStopped());
    EXPECT_EQ(std::count(Output().begin() + static_cast<long>(before), Output().end(), 0), 22050);
    m_stream.Resume(m_time);
    Run(4.0f);
    m_stream.Pause(); // and once more, right after it resumed
    Frame();
    m_stream.Resume(m_time);
    RunUntilStopped(20.0f);
    EXPECT_TRUE(HeardInOrder(Output(), kTwentySeconds));
}

TEST_F(snStreamTest, ACursorStandingOnTheRefillPointIsNoLap) {
    Open(Wave16(kTwentySeconds));
    m_stream.Play(0.0f);
    for (u32 step = 0; step < 50 && !m_stream.IsStopped(); ++step) {
        m_stream.Update(step * 0.5f);
        m_device.Render(kSegmentFrames);
        m_stream.Update(step * 0.5f + 0.25f); // the cursor is exactly on a segment boundary
        EXPECT_EQ(m_stream.GetWriteOffset(), m_stream.GetRefillPoint());
        m_stream.Update(step * 0.5f + 0.4f); // and still is
    }
    EXPECT_TRUE(m_stream.IsStopped());
    EXPECT_TRUE(HeardInOrder(Output(), kTwentySeconds));
    EXPECT_EQ(Gaps(Output()), 0u);
}

TEST_F(snStreamTest, ALostRingOrRefusedLocksLoseNothing) {
    Open(Wave16(kTwentySeconds));
    m_stream.SetVolume(1.0f);
    m_stream.Play(0.0f);
    Run(3.0f);
    m_device.SetLockFailure(plSoundResult::Generic);
    Run(1.5f);
    m_device.SetLockFailure(plSoundResult::Ok);
    Run(4.6f);
    m_device.LoseBuffers();
    Run(3.0f);
    m_stream.Pause();
    m_device.LoseBuffers();
    Run(0.5f);
    EXPECT_TRUE(m_stream.IsPaused());
    m_stream.Resume(m_time);
    RunUntilStopped(20.0f);
    EXPECT_TRUE(HeardInOrder(Output(), kTwentySeconds));
}

TEST_F(snStreamTest, PlayingAgainStartsTheDataOver) {
    Open(Wave16(kTwentySeconds));
    m_stream.Play(0.0f);
    Run(3.0f);
    const size_t heard = Output().size();
    m_stream.Restart(m_time);
    Run(7.0f);
    m_stream.Stop();
    EXPECT_TRUE(m_stream.IsStopped());
    const size_t second = Output().size() - heard;
    m_stream.Play(m_time);
    Run(1.0f);
    const size_t third = Output().size() - heard - second;
    std::vector<i16> expected(kTwentySeconds.begin(), kTwentySeconds.begin() + static_cast<long>(heard));
    expected.insert(expected.end(), kTwentySeconds.begin(),
                    kTwentySeconds.begin() + static_cast<long>(second));
    expected.insert(expected.end(), kTwentySeconds.begin(),
                    kTwentySeconds.begin() + static_cast<long>(third));
    EXPECT_TRUE(HeardInOrder(Output(), expected));
}

TEST_F(snStreamTest, AStreamedCloneHasARingAndAReaderOfItsOwn) {
    Open(Wave16(kTwentySeconds));
    m_stream.SetVolume(0.5f);
    m_stream.Play(0.0f);
    Run(2.0f);
    snSoundJob2DStreamedPAC clone;
    clone.CopyFrom(m_stream);
    ASSERT_TRUE(clone.IsLoaded());
    EXPECT_EQ(clone.GetVolume(), 0.5f);
    EXPECT_NE(clone.GetBuffer()->GetVoice()->data, m_stream.GetBuffer()->GetVoice()->data);
    m_stream.Unload();
    m_device.ClearOutput();
    clone.SetVolume(1.0f);
    clone.Play(m_time);
    for (u32 i = 0; i < 60 * 3; ++i) {
        clone.Update(m_time);
        m_device.Render(kRate / 60);
        m_time += 1.0f / 60.0f;
    }
    EXPECT_TRUE(HeardInOrder(Output(), Ramp(static_cast<u32>(Output().size()))));

    snSoundJob2DStreamedPAC idle, blank;
    blank.CopyFrom(idle);
    EXPECT_FALSE(blank.IsLoaded());
}

// The format checks are the reader's (see snWaveFileTest); here the stream's own refusals.
TEST_F(snStreamTest, FilesTheRingCannotPlayAreRefused) {
    snSoundJob2DStreamedPAC stream;
    stream.SetFile(
        m_folder.Write("r.wav", Riff(Chunk("fmt ", FmtContents(1, 1, 0, 0, 2, 16)) + Chunk("data", "ab"))));
    EXPECT_THROW(stream.Load(), snUnsupportedSoundFileTypeX);
    m_device.SetCreateFails(true);
    stream.SetFile(m_folder.Write("g.wav", Wave16({1, 2, 3})));
    EXPECT_THROW(stream.Load(), snSoundCreateFailedX);
    EXPECT_FALSE(stream.IsLoaded());
}
