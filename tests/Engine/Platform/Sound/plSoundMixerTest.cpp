#include "Engine/Platform/Sound/plSoundMixer.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

plWaveFormat Format(u16 channels, u32 rate, u16 bits) {
    const u16 align = static_cast<u16>(channels * bits / 8);
    return {1, channels, rate, rate * align, align, bits};
}

std::vector<i16> Sine(f64 frequency, u32 rate, u32 count, f64 amplitude) {
    std::vector<i16> samples(count);
    for (u32 i = 0; i < count; ++i)
        samples[i] = static_cast<i16>(
            std::lround(amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / rate)));
    return samples;
}

u32 ZeroCrossings(const std::vector<i16>& samples) {
    u32 crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    return crossings;
}

constexpr u32 kAllControls = plSoundFlags::CtrlVolume | plSoundFlags::CtrlPan | plSoundFlags::CtrlFrequency;

class plSoundMixerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(m_device.Open(), plSoundResult::Ok);
        ASSERT_EQ(m_device.CreatePrimaryBuffer(), plSoundResult::Ok);
        ASSERT_EQ(m_device.SetPrimaryFormat(Format(1, 22050, 16)), plSoundResult::Ok);
        ASSERT_EQ(m_device.PlayPrimary(), plSoundResult::Ok);
    }

    std::unique_ptr<plSoundBuffer> Make(const void* bytes, u32 size, const plWaveFormat& format,
                                        u32 flags = kAllControls) {
        std::unique_ptr<plSoundBuffer> buffer;
        EXPECT_EQ(m_device.CreateBuffer({flags, size, format}, buffer), plSoundResult::Ok);
        if (!buffer)
            return buffer;
        void* first;
        void* second;
        u32 firstBytes, secondBytes;
        EXPECT_EQ(buffer->Lock(0, size, first, firstBytes, second, secondBytes), plSoundResult::Ok);
        std::memcpy(first, bytes, firstBytes);
        EXPECT_EQ(buffer->Unlock(first, firstBytes, second, 0), plSoundResult::Ok);
        return buffer;
    }
    std::unique_ptr<plSoundBuffer> Make(const std::vector<i16>& samples, u16 channels = 1, u32 rate = 22050) {
        return Make(samples.data(), static_cast<u32>(samples.size() * 2), Format(channels, rate, 16));
    }

    std::vector<i16> Render(u32 frames) {
        m_device.ClearOutput();
        m_device.Render(frames);
        return m_device.GetOutput();
    }

    plTestSoundDevice m_device;
};

} // namespace

TEST_F(plSoundMixerTest, VolumeScalesByTheDecibelLawAndTheBottomIsSilence) {
    const std::vector<i16> sine = Sine(440.0, 22050, 22050, 16000.0);
    auto buffer = Make(sine);
    ASSERT_EQ(buffer->Play(plSoundPlayLooping), plSoundResult::Ok);

    std::vector<i16> out = Render(22050);
    EXPECT_EQ(out, sine); // unity gain at the buffer's own rate is bit exact

    // Volume 0.5 of the attenuation table: -1968 hundredths of a decibel.
    ASSERT_EQ(buffer->SetVolume(-1968), plSoundResult::Ok);
    out = Render(22050);
    const f64 expected = std::pow(10.0, -1968.0 / 2000.0);
    EXPECT_NEAR(plRms(out, 0, out.size()) / plRms(sine, 0, sine.size()), expected, 0.01 * expected);
    EXPECT_NEAR(expected, 0.104, 0.001);

    ASSERT_EQ(buffer->SetVolume(-10000), plSoundResult::Ok);
    out = Render(4410);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](i16 s) { return s == 0; }));
}

TEST_F(plSoundMixerTest, FrequencyResamplesLinearly) {
    const std::vector<i16> sine = Sine(440.0, 22050, 22050, 16000.0);
    auto buffer = Make(sine);
    ASSERT_EQ(buffer->Play(plSoundPlayLooping), plSoundResult::Ok);
    const u32 base = ZeroCrossings(Render(22050));
    EXPECT_NEAR(base, 880u, 2u);

    ASSERT_EQ(buffer->SetFrequency(44100), plSoundResult::Ok);
    EXPECT_NEAR(ZeroCrossings(Render(22050)), 2 * base, 4u);
    u32 frequency = 0;
    ASSERT_EQ(buffer->SetFrequency(plSoundLimits::FrequencyOriginal), plSoundResult::Ok);
    ASSERT_EQ(buffer->GetFrequency(frequency), plSoundResult::Ok);
    EXPECT_EQ(frequency, 22050u);

    // A ramp at half the output rate comes out with the midpoints between its samples.
    std::vector<i16> ramp = {0, 1000, 2000, 3000};
    auto slow = Make(ramp.data(), 8, Format(1, 11025, 16));
    buffer->Stop();
    ASSERT_EQ(slow->Play(0), plSoundResult::Ok);
    const std::vector<i16> out = Render(10);
    EXPECT_EQ(out, (std::vector<i16>{0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0, 0}));
    u32 status = 99;
    slow->GetStatus(status);
    EXPECT_EQ(status, 0u); // a one-shot sound stops at its end
}

TEST_F(plSoundMixerTest, OutputMixedInOneGoEqualsOutputMixedInPieces) {
    // A resampled stereo loop and a one-shot sound that ends in the middle of the output.
    ASSERT_EQ(m_device.SetPrimaryFormat(Format(2, 22050, 16)), plSoundResult::Ok);
    auto loop = Make(Sine(440.0, 16000, 3000, 12000.0), 2, 16000);
    auto shot = Make(Sine(300.0, 22050, 1500, 8000.0));
    const auto play = [&] {
        loop->SetCurrentPosition(0);
        shot->SetCurrentPosition(0);
        loop->Play(plSoundPlayLooping);
        shot->Play(0);
    };
    play();
    const std::vector<i16> whole = Render(5000);
    play();
    m_device.ClearOutput();
    for (u32 done = 0, piece = 1; done < 5000; done += piece, piece = piece * 3 % 1031)
        m_device.Render(std::min(piece, 5000 - done));
    EXPECT_EQ(m_device.GetOutput(), whole);
}

TEST_F(plSoundMixerTest, PanAttenuatesTheOtherChannel) {
    ASSERT_EQ(m_device.SetPrimaryFormat(Format(2, 22050, 16)), plSoundResult::Ok);
    const std::vector<i16> sine = Sine(440.0, 22050, 22050, 16000.0);
    auto buffer = Make(sine);
    ASSERT_EQ(buffer->Play(plSoundPlayLooping), plSoundResult::Ok);

    std::vector<i16> out = Render(22050);
    const f64 full = plRms(sine, 0, sine.size());
    EXPECT_NEAR(plRms(out, 0, out.size(), 2), full, 1.0);
    EXPECT_NEAR(plRms(out, 1, out.size(), 2), full, 1.0);

    ASSERT_EQ(buffer->SetPan(2000), plSoundResult::Ok); // 20 dB off the left
    out = Render(22050);
    EXPECT_NEAR(plRms(out, 0, out.size(), 2) / full, 0.1, 0.001);
    EXPECT_NEAR(plRms(out, 1, out.size(), 2), full, 1.0);

    ASSERT_EQ(buffer->SetPan(plSoundLimits::PanLeft), plSoundResult::Ok);
    out = Render(2205);
    EXPECT_NEAR(plRms(out, 0, out.size(), 2), full, 1.0);
    EXPECT_EQ(plRms(out, 1, out.size(), 2), 0.0);

    // A stereo source keeps its channels; mono output takes their mean.
    std::vector<i16> stereo = {1000, -3000, 1000, -3000};
    auto pair = Make(stereo, 2);
    buffer->Stop();
    pair->Play(plSoundPlayLooping);
    EXPECT_EQ(Render(2), (std::vector<i16>{1000, -3000, 1000, -3000}));
    ASSERT_EQ(m_device.SetPrimaryFormat(Format(1, 22050, 16)), plSoundResult::Ok);
    EXPECT_EQ(Render(2), (std::vector<i16>{-1000, -1000}));
}

TEST_F(plSoundMixerTest, SamplesOfBothWidthsSumAndSaturate) {
    const u8 bytes[] = {0x80, 0xFF, 0x00, 0xC0};
    auto narrow = Make(bytes, sizeof(bytes), Format(1, 22050, 8));
    narrow->Play(0);
    EXPECT_EQ(Render(4), (std::vector<i16>{0, 32512, -32768, 16384}));

    auto a = Make(std::vector<i16>{30000, -30000});
    auto b = Make(std::vector<i16>{30000, -30000});
    a->Play(plSoundPlayLooping);
    b->Play(plSoundPlayLooping);
    EXPECT_EQ(Render(2), (std::vector<i16>{32767, -32768}));

    // A new 8-bit buffer holds silence (0x80) before anything is written to it.
    std::unique_ptr<plSoundBuffer> blank;
    ASSERT_EQ(m_device.CreateBuffer({kAllControls, 16, Format(1, 22050, 8)}, blank), plSoundResult::Ok);
    a->Stop();
    b->Stop();
    blank->Play(0);
    EXPECT_EQ(Render(4), (std::vector<i16>{0, 0, 0, 0}));
}

TEST_F(plSoundMixerTest, CursorWrapsOnALoopAndRewindsAfterAOneShot) {
    std::vector<i16> samples(100, 100);
    auto buffer = Make(samples);
    buffer->Play(plSoundPlayLooping);
    Render(130);
    u32 cursor = 0, status = 0;
    buffer->GetCurrentPosition(cursor);
    EXPECT_EQ(cursor, 60u);
    buffer->GetStatus(status);
    EXPECT_EQ(status, plSoundStatus::Playing | plSoundStatus::Looping);

    ASSERT_EQ(buffer->SetCurrentPosition(190), plSoundResult::Ok);
    EXPECT_EQ(buffer->SetCurrentPosition(200), plSoundResult::InvalidParam);
    buffer->Play(0);
    std::vector<i16> out = Render(10);
    EXPECT_EQ(std::count(out.begin(), out.end(), 100), 5);
    buffer->GetCurrentPosition(cursor);
    buffer->GetStatus(status);
    EXPECT_EQ(cursor, 0u);
    EXPECT_EQ(status, 0u);

    // The cursor moves while the output is muted, which is silent.
    buffer->Play(plSoundPlayLooping);
    m_device.SetApplicationActive(false);
    out = Render(30);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](i16 s) { return s == 0; }));
    buffer->GetCurrentPosition(cursor);
    EXPECT_EQ(cursor, 60u);
    m_device.SetApplicationActive(true);
    EXPECT_EQ(Render(1), std::vector<i16>{100});
}

TEST_F(plSoundMixerTest, LockHandsOutTheDataWrappedAndCopiesItInAtUnlock) {
    std::vector<i16> samples = {1, 2, 3, 4, 5, 6};
    auto buffer = Make(samples);
    void* first;
    void* second;
    u32 firstBytes, secondBytes;
    ASSERT_EQ(buffer->Lock(8, 8, first, firstBytes, second, secondBytes), plSoundResult::Ok);
    EXPECT_EQ(firstBytes, 4u);
    EXPECT_EQ(secondBytes, 4u);
    i16 seen[4];
    std::memcpy(seen, first, 4);
    std::memcpy(seen + 2, second, 4);
    EXPECT_EQ(std::vector<i16>(seen, seen + 4), (std::vector<i16>{5, 6, 1, 2}));
    void* other;
    u32 otherBytes;
    EXPECT_EQ(buffer->Lock(0, 2, other, otherBytes, other, otherBytes), plSoundResult::InvalidCall);

    // Only the bytes reported written reach the data; the rest stays.
    const i16 written[] = {50, 60, 10, 20};
    std::memcpy(first, written, 4);
    std::memcpy(second, written + 2, 4);
    EXPECT_EQ(buffer->Unlock(second, 4, first, 4), plSoundResult::InvalidParam);
    ASSERT_EQ(buffer->Unlock(first, 4, second, 2), plSoundResult::Ok);
    buffer->Play(0);
    EXPECT_EQ(Render(6), (std::vector<i16>{10, 2, 3, 4, 50, 60}));

    EXPECT_EQ(buffer->Lock(12, 0, first, firstBytes, second, secondBytes), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->Lock(12, 13, first, firstBytes, second, secondBytes), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->Lock(12, 2, first, firstBytes, second, secondBytes), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->Unlock(first, 0, second, 0), plSoundResult::InvalidParam);

    m_device.SetLockFailure(plSoundResult::Generic);
    EXPECT_EQ(buffer->Lock(0, 2, first, firstBytes, second, secondBytes), plSoundResult::Generic);
    m_device.SetLockFailure(plSoundResult::Ok);
    EXPECT_EQ(buffer->Lock(0, 2, first, firstBytes, second, secondBytes), plSoundResult::Ok);
}

TEST_F(plSoundMixerTest, DuplicatesShareDataButNotCursorOrControls) {
    auto original = Make(std::vector<i16>{100, 200, 300, 400});
    original->SetVolume(-2000);
    std::unique_ptr<plSoundBuffer> copy;
    ASSERT_EQ(m_device.DuplicateBuffer(*original, copy), plSoundResult::Ok);
    i32 volume = 0;
    copy->GetVolume(volume);
    EXPECT_EQ(volume, -2000);
    copy->SetVolume(0);
    original->GetVolume(volume);
    EXPECT_EQ(volume, -2000);

    // Data written through the original reach the copy.
    void* first;
    void* second;
    u32 firstBytes, secondBytes;
    ASSERT_EQ(original->Lock(0, 2, first, firstBytes, second, secondBytes), plSoundResult::Ok);
    const i16 value = 1000;
    std::memcpy(first, &value, 2);
    original->Unlock(first, 2, second, 0);
    copy->SetCurrentPosition(0);
    copy->Play(0);
    Render(2);
    u32 cursor = 0;
    copy->GetCurrentPosition(cursor);
    EXPECT_EQ(cursor, 4u);
    original->GetCurrentPosition(cursor);
    EXPECT_EQ(cursor, 0u);
    copy->SetCurrentPosition(0);
    EXPECT_EQ(Render(2), (std::vector<i16>{1000, 200}));

    // The copy outlives its original.
    original.reset();
    copy->SetCurrentPosition(0);
    EXPECT_EQ(Render(1), std::vector<i16>{1000});
}

TEST_F(plSoundMixerTest, LostBuffersRefusePlayAndLockUntilMadeAgain) {
    auto buffer = Make(std::vector<i16>{7, 7, 7, 7});
    buffer->Play(plSoundPlayLooping);
    Render(3);
    m_device.LoseBuffers();
    u32 status = 0, cursor = 0;
    buffer->GetStatus(status);
    EXPECT_EQ(status, plSoundStatus::BufferLost);
    buffer->GetCurrentPosition(cursor);
    EXPECT_EQ(cursor, 6u); // where it stopped
    EXPECT_EQ(buffer->Play(0), plSoundResult::BufferLost);
    void* first;
    void* second;
    u32 firstBytes, secondBytes;
    EXPECT_EQ(buffer->Lock(0, 2, first, firstBytes, second, secondBytes), plSoundResult::BufferLost);
    std::unique_ptr<plSoundBuffer> copy;
    EXPECT_EQ(m_device.DuplicateBuffer(*buffer, copy), plSoundResult::BufferLost);
    EXPECT_EQ(Render(2), (std::vector<i16>{0, 0}));

    auto again = Make(std::vector<i16>{7, 7});
    EXPECT_EQ(again->Play(0), plSoundResult::Ok);
    EXPECT_EQ(Render(1), std::vector<i16>{7});
}

TEST_F(plSoundMixerTest, ControlsCheckTheirFlagsAndRanges) {
    auto buffer = Make(std::vector<i16>{1, 2});
    EXPECT_EQ(buffer->SetVolume(1), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetVolume(-10001), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetPan(10001), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetFrequency(99), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetFrequency(100001), plSoundResult::InvalidParam);
    EXPECT_EQ(buffer->SetFrequency(100000), plSoundResult::Ok);

    const i16 samples[] = {1, 2};
    auto bare = Make(samples, 4, Format(1, 22050, 16), 0);
    i32 value = 0;
    u32 frequency = 0;
    EXPECT_EQ(bare->SetVolume(0), plSoundResult::ControlUnavail);
    EXPECT_EQ(bare->GetPan(value), plSoundResult::ControlUnavail);
    EXPECT_EQ(bare->GetFrequency(frequency), plSoundResult::ControlUnavail);

    // Formats the mixer cannot play, and buffers of no whole frame.
    std::unique_ptr<plSoundBuffer> out;
    plWaveFormat bad = Format(1, 22050, 16);
    bad.blockAlign = 0;
    EXPECT_EQ(m_device.CreateBuffer({0, 4, bad}, out), plSoundResult::BadFormat);
    EXPECT_EQ(m_device.CreateBuffer({0, 4, Format(3, 22050, 16)}, out), plSoundResult::BadFormat);
    EXPECT_EQ(m_device.CreateBuffer({0, 4, Format(1, 22050, 24)}, out), plSoundResult::BadFormat);
    EXPECT_EQ(m_device.CreateBuffer({0, 4, Format(1, 99, 16)}, out), plSoundResult::BadFormat);
    bad = Format(2, 22050, 16);
    bad.avgBytesPerSec = 22050;
    EXPECT_EQ(m_device.CreateBuffer({0, 4, bad}, out), plSoundResult::BadFormat);
    EXPECT_EQ(m_device.CreateBuffer({0, 3, Format(2, 22050, 16)}, out), plSoundResult::InvalidParam);
    EXPECT_EQ(m_device.CreateBuffer({plSoundFlags::PrimaryBuffer, 4, Format(1, 22050, 16)}, out),
              plSoundResult::InvalidParam);
    EXPECT_EQ(m_device.SetPrimaryFormat(Format(1, 22050, 8)), plSoundResult::BadFormat);
    EXPECT_EQ(out, nullptr);
}

TEST(plTestSoundDevice, InjectedFaultsAndTheDeviceLifecycle) {
    plTestSoundDevice device;
    std::unique_ptr<plSoundBuffer> buffer;
    const plWaveFormat format = Format(1, 22050, 16);
    EXPECT_EQ(device.CreateBuffer({0, 4, format}, buffer), plSoundResult::Uninitialized);
    EXPECT_EQ(device.CreatePrimaryBuffer(), plSoundResult::Uninitialized);
    device.SetOpenFails(true);
    EXPECT_EQ(device.Open(), plSoundResult::NoDriver);
    EXPECT_FALSE(device.IsOpen());
    device.SetOpenFails(false);
    ASSERT_EQ(device.Open(), plSoundResult::Ok);
    EXPECT_EQ(device.PlayPrimary(), plSoundResult::InvalidCall);

    device.SetCreateFails(true);
    EXPECT_EQ(device.CreatePrimaryBuffer(), plSoundResult::OutOfMemory);
    EXPECT_EQ(device.CreateBuffer({0, 4, format}, buffer), plSoundResult::OutOfMemory);
    EXPECT_EQ(buffer, nullptr);
    device.SetCreateFails(false);
    ASSERT_EQ(device.CreatePrimaryBuffer(), plSoundResult::Ok);
    ASSERT_EQ(device.PlayPrimary(), plSoundResult::Ok);
    EXPECT_TRUE(device.IsOutputRunning());
    ASSERT_EQ(device.CreateBuffer({0, 4, format}, buffer), plSoundResult::Ok);

    // Closing stops the output; buffers still held stay usable and quiet.
    device.Close();
    EXPECT_FALSE(device.IsOutputRunning());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(buffer->Play(0), plSoundResult::Ok);
}
