#include "Engine/Audio/Sn/snSoundJobMP3.h"
#include "Engine/Audio/Sn/private/snSoundJobMP3PAC.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "snAudioFixture.h"

#include <cmath>
#include <sys/stat.h>

namespace {

// Frames of 22050 Hz output per frame of a 60 Hz game.
constexpr u32 kFrameSamples = 22050 / 60;

class snSoundJobMP3Test : public snManagerFixture {
  protected:
    fsLocator WriteTone(const std::string& name, double seconds, double hertz = 440.0) {
        m_folder.Write(name, "");
        EXPECT_TRUE(plWriteMp3File(m_folder.Path(name), plToneSamples(hertz, seconds, 44100, 1), 44100, 1));
        return m_folder.Locator(name);
    }

    snSoundJobMP3* Start(const fsLocator& file, i32 loops) {
        snSoundJobMP3* job = snSoundManager::CreateMP3Sound(file);
        job->SetLoopCount(loops);
        job->Load();
        job->Play(m_time);
        return job;
    }

    // Runs the game at 60 Hz for the seconds given (or until the job stops) and returns the output.
    std::vector<i16> Run(double seconds, snSoundJob* watched = nullptr) {
        std::vector<i16> out;
        for (u32 frame = 0; frame < seconds * 60; ++frame) {
            const std::vector<i16> block = Render(kFrameSamples);
            out.insert(out.end(), block.begin(), block.end());
            m_time += 1.0f / 60.0f;
            snSoundManager::Update(m_time);
            if (watched && watched->IsStopped())
                break;
        }
        return out;
    }

    f32 m_time = 0.0f;
};

// Seconds from the first to the last sample louder than a whisper.
double AudibleSeconds(const std::vector<i16>& out) {
    size_t first = out.size();
    size_t last = 0;
    for (size_t i = 0; i < out.size(); ++i)
        if (std::abs(out[i]) > 300) {
            first = std::min(first, i);
            last = i;
        }
    return first < out.size() ? static_cast<double>(last - first) / 22050.0 : 0.0;
}

} // namespace

TEST_F(snSoundJobMP3Test, AToneWithLoopCountTwoPlaysTwiceThenStops) {
    snSoundJobMP3* job = Start(WriteTone("tone.mp3", 1.0), 2);
    ASSERT_TRUE(job->GetPlatformHalf().IsLoaded());
    EXPECT_TRUE(job->GetPlatformHalf().IsLooping());
    const std::vector<i16> out = Run(4.0, job);
    EXPECT_TRUE(job->IsStopped());
    EXPECT_NEAR(AudibleSeconds(out), 2.0, 0.1);
    // A 0.5-amplitude tone through the mixer: RMS about 0.35 of full scale in the middle of each pass.
    EXPECT_NEAR(plRms(out, 11025, 22050) / 32767.0, 0.354, 0.04);
    EXPECT_NEAR(plRms(out, 33075, 44100) / 32767.0, 0.354, 0.04);
    // Stopped, it stays quiet.
    EXPECT_EQ(AudibleSeconds(Run(0.5)), 0.0);

    // Loop count -1 repeats without end.
    snSoundJobMP3* endless = Start(WriteTone("short.mp3", 0.3), -1);
    const std::vector<i16> more = Run(2.0);
    EXPECT_FALSE(endless->IsStopped());
    EXPECT_GT(plRms(more, more.size() - 4000, more.size() - 2000), 3000.0);
}

TEST_F(snSoundJobMP3Test, UnloadingOneOfTwoJobsLeavesTheOtherPlaying) {
    const fsLocator file = WriteTone("tone.mp3", 2.0);
    snSoundJobMP3* idle = snSoundManager::CreateMP3Sound(file);
    idle->Load();
    snSoundJobMP3* playing = Start(file, 1);
    Run(0.25);
    idle->Unload();
    EXPECT_FALSE(idle->GetPlatformHalf().IsLoaded());
    std::vector<i16> out = Run(0.25);
    EXPECT_GT(plRms(out, 0, out.size()), 3000.0);

    // The other way round: the one playing goes, and the one left can still play its own file.
    playing->Unload();
    out = Run(0.25);
    EXPECT_EQ(AudibleSeconds(out), 0.0);
    idle->Load();
    idle->Play(m_time);
    out = Run(0.25);
    EXPECT_GT(plRms(out, 0, out.size()), 3000.0);
}

TEST_F(snSoundJobMP3Test, ASecondJobTakesOverThePlayer) {
    snSoundJobMP3* first = Start(WriteTone("low.mp3", 2.0, 220.0), 1);
    Run(0.25);
    snSoundJobMP3* second = Start(WriteTone("high.mp3", 0.5, 880.0), 1);
    Run(1.0, second);
    EXPECT_TRUE(second->IsStopped());
    // The first one's file was replaced: it neither plays nor stops by itself.
    EXPECT_FALSE(first->IsStopped());
    EXPECT_FALSE(first->GetPlatformHalf().IsCurrent());
    EXPECT_EQ(AudibleSeconds(Run(0.5)), 0.0);
}

// A file that is missing or cannot be decoded ends the job at once, endless loop or not, with one
// warning; nothing plays. A pipe in the file's place is refused, never waited on for a writer.
TEST_F(snSoundJobMP3Test, GarbageAndMissingFilesStopTheJobAtOnce) {
    ASSERT_EQ(mkfifo(m_folder.Path("pipe.mp3").c_str(), 0600), 0);
    const std::pair<fsLocator, const char*> cases[] = {
        {m_folder.Write("noise.mp3", std::string(3000, '\x5A')), "MP3 file cannot be decoded"},
        {m_folder.Locator("missing.mp3"), "MP3 file not found"},
        {m_folder.Locator("pipe.mp3"), "it is not a file (a pipe or a device)"}};
    for (const auto& [file, warning] : cases) {
        snSoundJobMP3* job = Start(file, -1);
        EXPECT_TRUE(job->IsStopped()) << warning;
        EXPECT_EQ(AudibleSeconds(Run(0.5)), 0.0) << warning;
        EXPECT_EQ(m_log.Count(warning), 1u);
        EXPECT_FALSE(job->GetPlatformHalf().IsCurrent()) << warning;
    }
}

// Volumes clamp (NaN and below 0 are 0) and reach the player from the next update; so does a fade.
TEST_F(snSoundJobMP3Test, VolumesAndFadesReachThePlayer) {
    snSoundJobMP3* job = Start(WriteTone("tone.mp3", 2.0), 1);
    job->SetVolume(1.5f);
    EXPECT_EQ(job->GetVolume(), 1.0f);
    job->SetMasterVolume(std::nanf(""));
    EXPECT_EQ(job->GetMasterVolume(), 0.0f);
    Run(0.1);
    EXPECT_EQ(AudibleSeconds(Run(0.3)), 0.0);
    job->SetMasterVolume(1.0f);
    job->SetVolume(0.5f);
    const std::vector<i16> out = Run(0.3);
    // Volume 0.5 is -1968 hundredths of a decibel: a factor of about 0.104.
    EXPECT_NEAR(plRms(out, 1000, 5000) / 32767.0, 0.354 * 0.104, 0.01);

    job->GetPlatformHalf().StartFade(0.0f, 0.5f, m_time);
    Run(0.6);
    EXPECT_EQ(AudibleSeconds(Run(0.2)), 0.0);
}

TEST_F(snSoundJobMP3Test, PauseHoldsThePlaceAndResumeGoesOn) {
    snSoundJobMP3* job = Start(WriteTone("tone.mp3", 1.0), 1);
    Run(0.5);
    job->Pause();
    EXPECT_EQ(AudibleSeconds(Run(1.0)), 0.0);
    EXPECT_FALSE(job->IsStopped());
    job->Resume(m_time);
    const std::vector<i16> out = Run(2.0, job);
    EXPECT_TRUE(job->IsStopped());
    EXPECT_NEAR(AudibleSeconds(out), 0.5, 0.1);
}

TEST_F(snSoundJobMP3Test, WithoutASoundDeviceNothingLoads) {
    snStopSoundSystem();
    snSoundJobMP3* job = Start(WriteTone("tone.mp3", 0.2), 1);
    EXPECT_FALSE(job->GetPlatformHalf().IsLoaded());
    job->SetAutoRelease(true);
    snSoundManager::Update(0.0f);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);
}
