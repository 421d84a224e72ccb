#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Platform/Sound/plSoundBuffer.h"
#include "Engine/Platform/Sound/plSoundMixer.h"
#include "snAudioFixture.h"
#include "snWaveBuilder.h"

#include <cmath>
#include <numbers>

using namespace snWaveBuilder;

namespace {

std::vector<i16> Ramp(u32 count) {
    std::vector<i16> samples(count);
    for (u32 i = 0; i < count; ++i)
        samples[i] = static_cast<i16>(i + 1);
    return samples;
}

std::vector<i16> NonZero(const std::vector<i16>& samples) {
    std::vector<i16> out;
    std::copy_if(samples.begin(), samples.end(), std::back_inserter(out), [](i16 s) { return s != 0; });
    return out;
}

class snSoundJob2DPACTest : public snAudioFixture {
  protected:
    void Load(const std::string& bytes) {
        m_job.SetFile(WriteFile("s.wav", bytes));
        m_job.Load();
    }
    i32 Volume() {
        i32 volume = 1;
        EXPECT_EQ(m_job.GetBuffer()->GetVolume(volume), plSoundResult::Ok);
        return volume;
    }
    i32 Pan() {
        i32 pan = 1;
        EXPECT_EQ(m_job.GetBuffer()->GetPan(pan), plSoundResult::Ok);
        return pan;
    }
    u32 Frequency() {
        u32 frequency = 0;
        EXPECT_EQ(m_job.GetBuffer()->GetFrequency(frequency), plSoundResult::Ok);
        return frequency;
    }

    snSoundJob2DPAC m_job;
};

} // namespace

TEST(snAttenuation, TheTableFollowsTheCompressedDecibelCurve) {
    const std::pair<i32, i32> rows[] = {{0, -10000}, {1, -9016}, {5, -8045}, {10, -6967}, {25, -4464},
                                        {50, -1968}, {75, -672}, {90, -217}, {99, -19},   {100, 0}};
    for (const auto& [index, value] : rows)
        EXPECT_EQ(snAttenuation(index), value) << index;
    for (i32 k = 1; k <= 100; ++k)
        EXPECT_GT(snAttenuation(k), snAttenuation(k - 1)) << k;
    EXPECT_EQ(snAttenuation(-5), -10000);
    EXPECT_EQ(snAttenuation(250), 0);

    EXPECT_EQ(snVolumeToAttenuation(0.5f), -1968);
    EXPECT_EQ(snVolumeToAttenuation(1.0f), 0);
    EXPECT_EQ(snVolumeToAttenuation(0.0f), -10000);
    EXPECT_EQ(snVolumeToAttenuation(0.999f), -19);
    EXPECT_EQ(snVolumeToAttenuation(-0.5f), -10000);
    EXPECT_EQ(snVolumeToAttenuation(std::nanf("")), -10000);
    EXPECT_EQ(snVolumeToAttenuation(3.0f), 0);
}

TEST_F(snSoundJob2DPACTest, VolumesMultiplyIntoTheBuffersAttenuation) {
    m_job.SetVolume(0.5f); // before the buffer exists
    m_job.SetPan(0.5f);
    Load(Wave16(Ramp(100)));
    ASSERT_TRUE(m_job.IsLoaded());
    EXPECT_EQ(Volume(), -1968);
    EXPECT_EQ(Pan(), 5000);
    m_job.SetVolume(0.5f);
    EXPECT_EQ(Volume(), -1968);
    m_job.SetVolume(1.2f);
    EXPECT_EQ(m_job.GetVolume(), 0.5f);
    EXPECT_EQ(Volume(), -1968);
    m_job.SetVolume(1.0f);
    EXPECT_EQ(Volume(), 0);
    m_job.SetVolume(0.0f);
    EXPECT_EQ(Volume(), -10000);

    // Category and master volumes reach the buffer at the next update.
    m_job.SetVolume(1.0f);
    m_job.SetCategoryVolume(0.5f);
    m_job.SetMasterVolume(2.0f);
    EXPECT_EQ(m_job.GetMasterVolume(), 1.0f);
    EXPECT_EQ(Volume(), 0);
    m_job.Play(0.0f);
    m_job.Update(0.0f);
    EXPECT_EQ(Volume(), -1968);
    m_job.SetCategoryVolume(-1.0f);
    m_job.Update(0.1f);
    EXPECT_EQ(Volume(), -10000);
}

TEST_F(snSoundJob2DPACTest, PitchScalesTheBaseFrequencyWithinTheDevicesRange) {
    Load(Wave16(Ramp(100)));
    EXPECT_EQ(m_job.GetBaseFrequency(), 22050u);
    EXPECT_EQ(Frequency(), 22050u);
    const std::pair<f32, u32> cases[] = {
        {2.0f, 44100}, {10.0f, 100000}, {0.0f, 100}, {-3.0f, 100}, {1.0f, 22050}};
    for (const auto& [pitch, frequency] : cases) {
        m_job.StartPitchRamp(pitch, 0.0f, 1.0f);
        m_job.ApplyRamps(1.0f);
        EXPECT_EQ(Frequency(), frequency) << pitch;
    }
    m_job.StartPitchRamp(2.0f, 2.0f, 10.0f);
    m_job.ApplyRamps(11.0f);
    EXPECT_EQ(m_job.GetPitch(), 1.5f);
    EXPECT_EQ(Frequency(), 33075u);
    m_job.SetBaseFrequency(50.0f);
    EXPECT_EQ(m_job.GetBaseFrequency(), 22050u);
    m_job.SetBaseFrequency(11025.0f);
    EXPECT_EQ(Frequency(), 16537u);
}

TEST_F(snSoundJob2DPACTest, PositionalSoundsFadeWithDistanceAndPanToTheirSide) {
    Load(Wave16(Ramp(100)));
    m_job.SetPositional(true);
    m_job.SetMinDistance(20.0f);
    m_job.SetMaxDistance(40.0f);
    const std::pair<f32, i32> distances[] = {
        {30.0f, -1968}, {40.0f, -10000}, {55.0f, -10000}, {20.0f, 0}, {5.0f, 0}};
    for (const auto& [distance, volume] : distances) {
        m_job.SetListenerPosition({distance, 0.0f, 0.0f});
        m_job.UpdatePositional(1.0f);
        EXPECT_EQ(Volume(), volume) << distance;
    }
    EXPECT_EQ(m_job.GetDistanceFactor(), 1.0f);

    // The pan follows the square of the direction's share along the listener's right.
    m_job.SetListenerPosition({30.0f, 0.0f, 0.0f});
    m_job.UpdatePositional(1.0f);
    EXPECT_EQ(m_job.GetDistanceFactor(), 0.5f);
    m_job.ApplyRamps(1.0f);
    EXPECT_EQ(Pan(), 10000);
    m_job.SetListenerOrientation(maRotation(maVector3d(0.0f, 1.0f, 0.0f), std::numbers::pi_v<f32>));
    m_job.UpdatePositional(2.0f);
    m_job.ApplyRamps(2.0f);
    EXPECT_EQ(Pan(), -10000);
    m_job.SetListenerPosition({-10.0f, 0.0f, 10.0f});
    m_job.UpdatePositional(3.0f);
    m_job.ApplyRamps(3.0f);
    EXPECT_NEAR(Pan(), 5000, 1);

    // Where source and listener meet the sound is full and in the middle.
    m_job.SetListenerPosition({0.0f, 0.0f, 0.0f});
    m_job.UpdatePositional(4.0f);
    m_job.ApplyRamps(4.0f);
    EXPECT_EQ(Pan(), 0);
    EXPECT_EQ(Volume(), 0);

    m_job.SetListenerPosition({35.0f, 0.0f, 0.0f});
    m_job.UpdatePositional(5.0f);
    m_job.SetPositional(false);
    EXPECT_EQ(m_job.GetDistanceFactor(), 1.0f);
}

TEST_F(snSoundJob2DPACTest, FadesRunLinearlyAndASecondOneTakesOverFromTheValueReached) {
    Load(Wave16(Ramp(100)));
    m_job.StartFade(0.5f, 0.0f, 0.0f);
    EXPECT_EQ(m_job.GetFadeFactor(), 0.5f);
    m_job.StartFade(1.0f, 2.0f, 10.0f);
    m_job.ApplyRamps(11.0f);
    EXPECT_EQ(m_job.GetFadeFactor(), 0.75f);
    EXPECT_EQ(Volume(), snAttenuation(75));
    m_job.ApplyRamps(12.0f);
    EXPECT_EQ(m_job.GetFadeFactor(), 1.0f);
    m_job.ApplyRamps(12.5f);
    EXPECT_EQ(m_job.GetFadeFactor(), 1.0f);

    m_job.StartFade(0.0f, 2.0f, 20.0f);
    m_job.ApplyRamps(21.0f);
    EXPECT_EQ(m_job.GetFadeFactor(), 0.5f);
    m_job.StartFade(1.0f, 1.0f, 21.0f); // waits for the next step
    m_job.ApplyRamps(21.5f);
    EXPECT_EQ(m_job.GetFadeFactor(), 0.25f);
    m_job.ApplyRamps(22.0f);
    EXPECT_EQ(m_job.GetFadeFactor(), 0.625f);
    m_job.ApplyRamps(23.0f);
    EXPECT_EQ(m_job.GetFadeFactor(), 1.0f);
    EXPECT_EQ(m_job.GetFadeTarget(), 1.0f);

    // A step before a ramp's start time stays at the ramp's start, inside the table and the pan range.
    m_job.StartFade(0.0f, 1.0f, 100.0f);
    m_job.ApplyRamps(50.0f);
    EXPECT_EQ(m_job.GetFadeFactor(), 1.0f);
    EXPECT_EQ(Volume(), 0);
    m_job.StartPanRamp(1.0f, 1.0f, 100.0f);
    m_job.ApplyRamps(50.0f);
    EXPECT_EQ(m_job.GetPan(), 0.0f);
    m_job.StartPanRamp(-4.0f, 1.0f, 60.0f);
    m_job.ApplyRamps(60.5f);
    EXPECT_EQ(m_job.GetPan(), -0.5f);
    EXPECT_EQ(Pan(), -5000);
    m_job.SetPan(1.5f);
    EXPECT_EQ(m_job.GetPan(), -0.5f);
}

TEST_F(snSoundJob2DPACTest, SettersAndRampsWithoutABufferDoNothing) {
    snSoundJob2DPAC job;
    for (int round = 0; round < 2; ++round) {
        job.SetVolume(0.5f);
        job.SetPan(0.5f);
        job.SetBaseFrequency(11025.0f);
        job.StartFade(0.0f, 1.0f, 0.0f);
        job.StartPanRamp(1.0f, 1.0f, 0.0f);
        job.StartPitchRamp(2.0f, 1.0f, 0.0f);
        job.ApplyRamps(0.5f);
        job.SetPositional(true);
        job.Update(0.5f);
        job.Play(0.5f);
        job.Pause();
        job.Stop();
        EXPECT_FALSE(job.IsLoaded());
        // Then again after an unload.
        job.SetFile(WriteFile("u.wav", Wave16(Ramp(10))));
        job.Load();
        job.Unload();
    }
    EXPECT_EQ(job.GetVolume(), 0.5f);
}

TEST_F(snSoundJob2DPACTest, AStaticSoundPlaysToItsEndAndStops) {
    const std::vector<i16> samples = Ramp(1000);
    Load(Wave16(samples));
    m_job.SetAutoRelease(true);
    m_job.Play(0.0f);
    EXPECT_TRUE(m_job.IsPlayRequested());
    m_job.Update(0.0f);
    EXPECT_FALSE(m_job.IsPlayRequested());
    std::vector<i16> out = Render(500);
    m_job.Update(0.02f);
    EXPECT_TRUE(m_job.IsPlaying()); // as the status was read
    const std::vector<i16> rest = Render(600);
    out.insert(out.end(), rest.begin(), rest.end());
    EXPECT_EQ(std::vector<i16>(out.begin(), out.begin() + 1000), samples);
    EXPECT_EQ(NonZero(out).size(), 1000u);
    m_job.Update(0.05f);
    EXPECT_TRUE(m_job.IsStopped());
    EXPECT_FALSE(m_job.IsPlaying());
    EXPECT_FALSE(m_job.IsLoaded()); // auto-release unloads
    m_job.Update(0.1f);

    // Looping goes round until stopped.
    snSoundJob2DPAC loop;
    loop.SetFile(WriteFile("l.wav", Wave16(samples)));
    loop.SetLoopCount(-1);
    loop.Load();
    loop.Play(0.0f);
    loop.Update(0.0f);
    EXPECT_EQ(NonZero(Render(2500)).size(), 2500u);
    loop.Update(0.2f);
    EXPECT_FALSE(loop.IsStopped());
    loop.Stop();
    EXPECT_TRUE(loop.IsStopped());
    EXPECT_TRUE(loop.IsLoaded());
}

TEST_F(snSoundJob2DPACTest, AStaticSoundReadsItsDataByChunkNotByAFixedHeader) {
    const std::vector<i16> samples = Ramp(300);
    const std::string data = Samples16(samples);
    Load(Riff(Chunk("LIST", std::string(27, 'i')) + Pcm(1, 22050, 16) + Chunk("fact", "abcd") +
              Chunk("data", data)));
    m_job.Play(0.0f);
    m_job.Update(0.0f);
    EXPECT_EQ(NonZero(Render(400)), samples);

    // A data size past the end of the file holds what is there, in whole frames.
    snSoundJob2DPAC longer;
    longer.SetFile(WriteFile("b.wav", Riff(Pcm(1, 22050, 16) + Chunk("data", data + "\x01", 100000, false))));
    longer.Load();
    ASSERT_TRUE(longer.IsLoaded());
    EXPECT_EQ(longer.GetBuffer()->GetSize(), data.size());

    snSoundJob2DPAC empty;
    empty.SetFile(WriteFile("e.wav", Riff(Pcm(1, 22050, 16) + Chunk("data", ""))));
    EXPECT_THROW(empty.Load(), snSoundCreateFailedX);
    EXPECT_FALSE(empty.IsLoaded());
    empty.SetFile(WriteFile("o.wav", Riff(Pcm(1, 22050, 16) + Chunk("data", "\x01"))));
    EXPECT_THROW(empty.Load(), snSoundCreateFailedX);
    empty.SetFile(m_folder.Locator("missing.wav"));
    EXPECT_THROW(empty.Load(), fsFileDoesntExistX);
    empty.SetFile(WriteFile(
        "z.wav", Riff(Chunk("fmt ", FmtContents(1, 1, 22050, 44100, 0, 16)) + Chunk("data", data))));
    EXPECT_THROW(empty.Load(), snUnsupportedSoundFileTypeX);
}

TEST_F(snSoundJob2DPACTest, PauseAndResumeContinueWhereTheSoundStopped) {
    const std::vector<i16> samples = Ramp(1000);
    Load(Wave16(samples));
    m_job.Play(0.0f);
    m_job.Update(0.0f);
    std::vector<i16> heard = Render(300);
    m_job.Pause();
    EXPECT_TRUE(m_job.IsPaused());
    m_job.Update(0.1f);
    EXPECT_FALSE(m_job.IsStopped());
    EXPECT_EQ(NonZero(Render(200)).size(), 0u);
    m_job.Resume(0.2f);
    m_job.Update(0.2f);
    const std::vector<i16> rest = Render(800);
    heard.insert(heard.end(), rest.begin(), rest.end());
    EXPECT_EQ(NonZero(heard), samples);
}

TEST_F(snSoundJob2DPACTest, ALostBufferIsMadeAgainWithItsSettings) {
    const std::vector<i16> samples = Ramp(1000);
    Load(Wave16(samples));
    m_job.Play(0.0f);
    m_job.Update(0.0f);
    m_job.SetVolume(0.5f);
    m_job.SetPan(-0.25f);
    Render(200);
    m_device.LoseBuffers();
    m_job.Update(0.1f);
    ASSERT_NE(m_job.GetBuffer(), nullptr);
    EXPECT_EQ(Volume(), -1968);
    EXPECT_EQ(Pan(), -2500);
    EXPECT_FALSE(m_job.IsStopped());
    // It starts over from its start position.
    u32 status = 0;
    m_job.GetBuffer()->GetStatus(status);
    EXPECT_TRUE(status & plSoundStatus::Playing);

    // A paused sound stays paused through a loss and resumes where it was.
    m_job.SetVolume(1.0f);
    m_job.SetPan(0.0f);
    Render(400);
    m_job.Pause();
    m_device.LoseBuffers();
    m_job.Update(0.2f);
    EXPECT_TRUE(m_job.IsPaused());
    EXPECT_EQ(NonZero(Render(100)).size(), 0u);
    m_job.Resume(0.3f);
    m_job.Update(0.3f);
    const std::vector<i16> out = Render(600);
    EXPECT_EQ(NonZero(out), std::vector<i16>(samples.begin() + 400, samples.end()));
}

TEST_F(snSoundJob2DPACTest, DeviceFaultsOnLoad) {
    const std::string bytes = Wave16(Ramp(100));
    m_device.SetCreateFails(true);
    m_job.SetFile(WriteFile("s.wav", bytes));
    EXPECT_THROW(m_job.Load(), snSoundSystemBufferCreateFailedX);
    EXPECT_FALSE(m_job.IsLoaded());
    m_device.SetCreateFails(false);

    // A refused lock leaves the buffer silent but loaded.
    m_device.SetLockFailure(plSoundResult::Generic);
    snSoundJob2DPAC silent;
    silent.SetFile(WriteFile("s.wav", bytes));
    silent.Load();
    ASSERT_TRUE(silent.IsLoaded());
    silent.Play(0.0f);
    silent.Update(0.0f);
    EXPECT_EQ(NonZero(Render(100)).size(), 0u);
    ASSERT_FALSE(m_log.lines.empty());
    EXPECT_NE(m_log.lines.back().find("sound device: DSERR_GENERIC"), std::string::npos);
}

TEST_F(snSoundJob2DPACTest, NothingHappensWhileTheDeviceIsDown) {
    snStopSoundSystem();
    Load(Wave16(Ramp(100)));
    EXPECT_FALSE(m_job.IsLoaded());
    m_job.Play(0.0f);
    m_job.Update(0.0f);
    EXPECT_FALSE(m_job.IsPlayRequested());
    snStartSoundSystem();
    m_job.Load();
    EXPECT_TRUE(m_job.IsLoaded());
    snStopSoundSystem();
    m_job.Update(0.1f); // stops nothing: the device is down
    m_job.Play(0.1f);
    EXPECT_FALSE(m_job.IsPlayRequested());
    snStartSoundSystem();
}

TEST_F(snSoundJob2DPACTest, ACopySharesTheSoundDataAndTakesEverySetting) {
    const std::vector<i16> samples = Ramp(500);
    Load(Wave16(samples));
    m_job.SetVolume(0.5f);
    m_job.SetCategoryVolume(0.5f);
    m_job.SetLoopCount(3);
    m_job.SetAutoRelease(true);
    snSoundJob2DPAC copy;
    copy.CopyFrom(m_job);
    ASSERT_TRUE(copy.IsLoaded());
    ASSERT_NE(copy.GetBuffer(), m_job.GetBuffer());
    EXPECT_EQ(copy.GetBuffer()->GetVoice()->data, m_job.GetBuffer()->GetVoice()->data);
    EXPECT_EQ(copy.GetVolume(), 0.5f);
    EXPECT_EQ(copy.GetCategoryVolume(), 0.5f);
    EXPECT_EQ(copy.GetLoopCount(), 3);
    EXPECT_TRUE(copy.IsAutoRelease());
    EXPECT_EQ(copy.GetFile(), m_job.GetFile());
    EXPECT_EQ(copy.GetBaseFrequency(), 22050u);

    // Both play from their own cursor.
    copy.SetVolume(1.0f);
    copy.SetCategoryVolume(1.0f);
    copy.SetLoopCount(0);
    copy.Play(0.0f);
    copy.Update(0.0f);
    EXPECT_EQ(Render(500), samples);

    snSoundJob2DPAC unloaded, blank;
    blank.CopyFrom(unloaded);
    EXPECT_FALSE(blank.IsLoaded());
}

TEST_F(snSoundJob2DPACTest, SuspendAndRestoreReloadAndPlay) {
    Load(Wave16(Ramp(1000)));
    m_job.Suspend();
    EXPECT_FALSE(m_job.IsLoaded());
    m_job.Restore();
    EXPECT_TRUE(m_job.IsLoaded());
    EXPECT_TRUE(m_job.IsPlayRequested());
    m_job.Update(1.0f);
    EXPECT_EQ(NonZero(Render(100)).size(), 100u);
    m_job.Update(1.1f);
    EXPECT_TRUE(m_job.IsPlaying());
    m_job.Restart(2.0f);
    m_job.Update(2.0f);
    EXPECT_EQ(Render(1), std::vector<i16>{1});
    EXPECT_EQ(m_job.GetStartTime(), 2.0f);

    m_job.SetLoopCount(0);
    EXPECT_FALSE(m_job.IsLooping());
    m_job.SetLoopCount(-1);
    EXPECT_TRUE(m_job.IsLooping());
}
