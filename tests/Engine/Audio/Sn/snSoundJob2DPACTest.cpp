#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/Audio/Sn/private/snSoundSystemPAC.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Platform/Sound/plSoundBuffer.h"
#include "snAudioFixture.h"
#include "snWaveBuilder.h"

#include <cmath>
#include <numbers>

using namespace snWaveBuilder;

namespace {

std::vector<i16> NonZero(const std::vector<i16>& samples) {
    std::vector<i16> out;
    std::copy_if(samples.begin(), samples.end(), std::back_inserter(out), [](i16 s) { return s != 0; });
    return out;
}

class snSoundJob2DPACTest : public snAudioFixture {
  protected:
    void Load(const std::string& bytes) {
        m_job.SetFile(m_folder.Write("s.wav", bytes));
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
    const std::pair<i32, i32> rows[] = {{-5, -10000}, {0, -10000}, {1, -9016},  {5, -8045},
                                        {10, -6967},  {25, -4464}, {50, -1968}, {75, -672},
                                        {90, -217},   {99, -19},   {100, 0},    {250, 0}};
    for (const auto& [index, value] : rows)
        EXPECT_EQ(snAttenuation(index), value) << index;
    for (i32 k = 1; k <= 100; ++k)
        EXPECT_GT(snAttenuation(k), snAttenuation(k - 1)) << k;
    const std::pair<f32, i32> volumes[] = {{0.5f, -1968},   {1.0f, 0}, {0.0f, -10000},         {0.999f, -19},
                                           {-0.5f, -10000}, {3.0f, 0}, {std::nanf(""), -10000}};
    for (const auto& [volume, value] : volumes)
        EXPECT_EQ(snVolumeToAttenuation(volume), value) << volume;
}

// Volume 0.5 is -1968, 0 is -10000, 1.2 is ignored; category and master volumes multiply in at the
// next update; pitch scales the base frequency within the device's range.
TEST_F(snSoundJob2DPACTest, VolumesAndPitchReachTheBuffer) {
    m_job.SetVolume(0.5f); // before the buffer exists
    m_job.SetPan(0.5f);
    Load(Wave16(Ramp(100)));
    ASSERT_TRUE(m_job.IsLoaded());
    EXPECT_EQ(Volume(), -1968);
    EXPECT_EQ(Pan(), 5000);
    m_job.SetVolume(1.2f);
    EXPECT_EQ(Volume(), -1968);
    m_job.SetVolume(0.0f);
    EXPECT_EQ(Volume(), -10000);
    m_job.SetVolume(1.0f);
    m_job.SetCategoryVolume(0.5f);
    m_job.SetMasterVolume(2.0f);
    EXPECT_EQ(Volume(), 0);
    m_job.Play(0.0f);
    m_job.Update(0.0f);
    EXPECT_EQ(Volume(), -1968);
    m_job.SetCategoryVolume(-1.0f);
    m_job.Update(0.1f);
    EXPECT_EQ(Volume(), -10000);

    EXPECT_EQ(Frequency(), 22050u);
    const std::pair<f32, u32> pitches[] = {
        {2.0f, 44100}, {10.0f, 100000}, {0.0f, 100}, {-3.0f, 100}, {1.0f, 22050}};
    for (const auto& [pitch, frequency] : pitches) {
        m_job.StartPitchRamp(pitch, 0.0f, 1.0f);
        m_job.ApplyRamps(1.0f);
        EXPECT_EQ(Frequency(), frequency) << pitch;
    }
    m_job.StartPitchRamp(2.0f, 2.0f, 10.0f);
    m_job.ApplyRamps(11.0f);
    EXPECT_EQ(Frequency(), 33075u);
    m_job.SetBaseFrequency(50.0f); // below the range: ignored
    EXPECT_EQ(m_job.GetBaseFrequency(), 22050u);
    m_job.SetBaseFrequency(11025.0f);
    EXPECT_EQ(Frequency(), 16537u);
}

TEST_F(snSoundJob2DPACTest, PositionalSoundsFadeWithDistanceAndPanToTheirSide) {
    Load(Wave16(Ramp(100)));
    m_job.SetPositional(true);
    m_job.SetMinDistance(20.0f);
    m_job.SetMaxDistance(40.0f);
    const std::pair<f32, i32> distances[] = {{30.0f, -1968}, {40.0f, -10000}, {55.0f, -10000}, {5.0f, 0}};
    for (const auto& [distance, volume] : distances) {
        m_job.SetListenerPosition({distance, 0.0f, 0.0f});
        m_job.UpdatePositional(1.0f);
        EXPECT_EQ(Volume(), volume) << distance;
    }
    // The pan follows the square of the direction's share along the listener's right; where source
    // and listener meet the sound is in the middle.
    struct Place {
        maVector3d listener;
        f32 heading;
        i32 pan;
    };
    const Place places[] = {{{30.0f, 0.0f, 0.0f}, 0.0f, 10000},
                            {{30.0f, 0.0f, 0.0f}, std::numbers::pi_v<f32>, -10000},
                            {{-10.0f, 0.0f, 10.0f}, std::numbers::pi_v<f32>, 5000},
                            {{0.0f, 0.0f, 0.0f}, 0.0f, 0}};
    f32 time = 2.0f;
    for (const Place& place : places) {
        m_job.SetListenerPosition(place.listener);
        m_job.SetListenerOrientation(maRotation(maVector3d(0.0f, 1.0f, 0.0f), place.heading));
        m_job.UpdatePositional(time);
        m_job.ApplyRamps(time);
        EXPECT_NEAR(Pan(), place.pan, 1) << place.listener.x;
        time += 1.0f;
    }
    m_job.SetListenerPosition({35.0f, 0.0f, 0.0f});
    m_job.UpdatePositional(time);
    m_job.SetPositional(false);
    EXPECT_EQ(m_job.GetDistanceFactor(), 1.0f);
}

// Fades run linearly; a second one takes over from the value reached; a step before a ramp's start
// stays inside the table and the pan range.
TEST_F(snSoundJob2DPACTest, FadesAndRamps) {
    Load(Wave16(Ramp(100)));
    m_job.StartFade(0.5f, 0.0f, 0.0f); // at once
    m_job.StartFade(1.0f, 2.0f, 10.0f);
    m_job.ApplyRamps(11.0f);
    EXPECT_EQ(Volume(), snAttenuation(75));
    m_job.ApplyRamps(12.5f);
    EXPECT_EQ(m_job.GetFadeFactor(), 1.0f);
    m_job.StartFade(0.0f, 2.0f, 20.0f);
    m_job.ApplyRamps(21.0f);
    m_job.StartFade(1.0f, 1.0f, 21.0f);
    const std::pair<f32, f32> steps[] = {{21.5f, 0.25f}, {22.0f, 0.625f}, {23.0f, 1.0f}};
    for (const auto& [time, factor] : steps) {
        m_job.ApplyRamps(time);
        EXPECT_EQ(m_job.GetFadeFactor(), factor) << time;
    }

    m_job.StartFade(0.0f, 1.0f, 100.0f);
    m_job.ApplyRamps(50.0f);
    EXPECT_EQ(Volume(), 0);
    m_job.StartPanRamp(1.0f, 1.0f, 100.0f);
    m_job.ApplyRamps(50.0f);
    EXPECT_EQ(Pan(), 0);
    m_job.StartPanRamp(-4.0f, 1.0f, 60.0f);
    m_job.ApplyRamps(60.5f);
    EXPECT_EQ(Pan(), -5000);
    m_job.SetPan(1.5f);
    EXPECT_EQ(Pan(), -5000);
}

// A copy takes over every setting, its running ramps and a waiting fade included, and steps them on
// its own.
TEST_F(snSoundJob2DPACTest, ACopyCarriesOnTheRampsOfTheOriginal) {
    Load(Wave16(Ramp(100)));
    m_job.SetVolume(0.5f);
    m_job.SetLoopCount(3);
    m_job.StartFade(0.0f, 2.0f, 10.0f);
    m_job.StartFade(1.0f, 1.0f, 10.0f);
    m_job.StartPitchRamp(2.0f, 2.0f, 10.0f);
    snSoundJob2DPAC copy;
    copy.CopyFrom(m_job);
    EXPECT_TRUE(copy.IsLoaded());
    EXPECT_EQ(copy.GetVolume(), 0.5f);
    EXPECT_EQ(copy.GetLoopCount(), 3);
    const std::pair<f32, std::pair<f32, f32>> steps[] = {{11.0f, {0.5f, 1.5f}}, {11.5f, {0.75f, 1.75f}}};
    for (const auto& [time, fadeAndPitch] : steps) {
        copy.ApplyRamps(time);
        EXPECT_EQ(copy.GetFadeFactor(), fadeAndPitch.first) << time;
        EXPECT_EQ(copy.GetPitch(), fadeAndPitch.second) << time;
    }
    EXPECT_EQ(m_job.GetFadeFactor(), 1.0f);
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
        job.SetFile(m_folder.Write("u.wav", Wave16(Ramp(10))));
        job.Load();
        job.Unload();
    }
}

// A static sound plays to its end and stops (auto-release unloads it); a looping one goes round;
// pause and resume go on where it stopped.
TEST_F(snSoundJob2DPACTest, PlayPauseAndLoop) {
    const std::vector<i16> samples = Ramp(1000);
    Load(Wave16(samples));
    m_job.SetAutoRelease(true);
    m_job.Play(0.0f);
    m_job.Update(0.0f);
    std::vector<i16> heard = Render(300);
    m_job.Pause();
    m_job.Update(0.1f);
    EXPECT_FALSE(m_job.IsStopped());
    EXPECT_TRUE(NonZero(Render(200)).empty());
    m_job.Resume(0.2f);
    m_job.Update(0.2f);
    const std::vector<i16> rest = Render(800);
    heard.insert(heard.end(), rest.begin(), rest.end());
    EXPECT_EQ(NonZero(heard), samples);
    m_job.Update(0.3f);
    EXPECT_TRUE(m_job.IsStopped());
    EXPECT_FALSE(m_job.IsLoaded());

    snSoundJob2DPAC loop;
    loop.SetFile(m_folder.Write("l.wav", Wave16(samples)));
    loop.SetLoopCount(-1);
    loop.Load();
    loop.Play(0.0f);
    loop.Update(0.0f);
    EXPECT_EQ(NonZero(Render(2500)).size(), 2500u);
    loop.Update(0.2f);
    EXPECT_FALSE(loop.IsStopped());
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
    longer.SetFile(
        m_folder.Write("b.wav", Riff(Pcm(1, 22050, 16) + Chunk("data", data + "\x01", 100000, false))));
    longer.Load();
    ASSERT_TRUE(longer.IsLoaded());
    EXPECT_EQ(longer.GetBuffer()->GetSize(), data.size());

    const std::pair<std::string, std::string> refused[] = {
        {"empty.wav", Riff(Pcm(1, 22050, 16) + Chunk("data", ""))},
        {"odd.wav", Riff(Pcm(1, 22050, 16) + Chunk("data", "\x01"))},
        {"align.wav", Riff(Chunk("fmt ", FmtContents(1, 1, 22050, 44100, 0, 16)) + Chunk("data", data))}};
    for (const auto& [name, bytes] : refused) {
        snSoundJob2DPAC job;
        job.SetFile(m_folder.Write(name, bytes));
        if (name == "align.wav")
            EXPECT_THROW(job.Load(), snUnsupportedSoundFileTypeX);
        else
            EXPECT_THROW(job.Load(), snSoundCreateFailedX) << name;
        EXPECT_FALSE(job.IsLoaded());
    }
}

// A lost buffer is made again with its settings, playing from the start, or paused where it was.
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
    u32 status = 0;
    m_job.GetBuffer()->GetStatus(status);
    EXPECT_TRUE(status & plSoundStatus::Playing);

    m_job.SetVolume(1.0f);
    m_job.SetPan(0.0f);
    Render(400);
    m_job.Pause();
    m_device.LoseBuffers();
    m_job.Update(0.2f);
    EXPECT_TRUE(m_job.IsPaused());
    EXPECT_TRUE(NonZero(Render(100)).empty());
    m_job.Resume(0.3f);
    m_job.Update(0.3f);
    EXPECT_EQ(NonZero(Render(600)), std::vector<i16>(samples.begin() + 400, samples.end()));
}

// A file that shrinks, or breaks, while its buffer is lost: the paused place is past the new data, or
// nothing can be made at all. The request is tried a few updates, then the sound stops with one
// warning; nothing is thrown out of the update.
TEST_F(snSoundJob2DPACTest, AFileThatChangesUnderALostBufferStopsTheSound) {
    for (const std::string& changed : {Wave16(Ramp(100)), std::string("not a wave")}) {
        m_log.lines.clear();
        snSoundJob2DPAC job;
        job.SetFile(m_folder.Write("s.wav", Wave16(Ramp(1000))));
        job.Load();
        job.Play(0.0f);
        job.Update(0.0f);
        Render(600);
        job.Pause();
        m_device.LoseBuffers();
        m_folder.Write("s.wav", changed);
        job.Resume(1.0f);
        for (int frame = 0; frame < 10; ++frame)
            EXPECT_NO_THROW(job.Update(1.0f + static_cast<f32>(frame) / 60.0f));
        EXPECT_TRUE(job.IsStopped());
        EXPECT_FALSE(job.IsPlayRequested());
        EXPECT_EQ(m_log.Count("sound s.wav"), 1u);
        EXPECT_TRUE(NonZero(Render(100)).empty());
    }
}

// A refused buffer fails the load; a refused lock leaves the buffer silent but loaded; with the
// device down nothing loads or plays.
TEST_F(snSoundJob2DPACTest, DeviceFaults) {
    const std::string bytes = Wave16(Ramp(100));
    m_device.SetCreateFails(true);
    m_job.SetFile(m_folder.Write("s.wav", bytes));
    EXPECT_THROW(m_job.Load(), snSoundSystemBufferCreateFailedX);
    EXPECT_FALSE(m_job.IsLoaded());
    m_device.SetCreateFails(false);

    m_device.SetLockFailure(plSoundResult::Generic);
    snSoundJob2DPAC silent;
    silent.SetFile(m_folder.Write("s.wav", bytes));
    silent.Load();
    ASSERT_TRUE(silent.IsLoaded());
    silent.Play(0.0f);
    silent.Update(0.0f);
    EXPECT_TRUE(NonZero(Render(100)).empty());
    EXPECT_TRUE(m_log.Holds("sound device: DSERR_GENERIC"));

    snStopSoundSystem();
    snSoundJob2DPAC down;
    down.SetFile(m_folder.Write("s.wav", bytes));
    down.Load();
    EXPECT_FALSE(down.IsLoaded());
    down.Play(0.0f);
    EXPECT_FALSE(down.IsPlayRequested());
    snStartSoundSystem();
}

TEST_F(snSoundJob2DPACTest, SuspendRestoreAndRestart) {
    Load(Wave16(Ramp(1000)));
    m_job.Suspend();
    EXPECT_FALSE(m_job.IsLoaded());
    m_job.Restore();
    EXPECT_TRUE(m_job.IsPlayRequested());
    m_job.Update(1.0f);
    EXPECT_EQ(NonZero(Render(100)).size(), 100u);
    m_job.Restart(2.0f);
    m_job.Update(2.0f);
    EXPECT_EQ(Render(1), std::vector<i16>{1});
}
