#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"
#include "Engine/Audio/Sn/snPackage.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundJobMP3.h"
#include "Engine/Platform/Sound/plSoundMixer.h"
#include "snAudioFixture.h"
#include "snWaveBuilder.h"

using namespace snWaveBuilder;

namespace {

fsLocator Named(const char* name) {
    fsLocator file;
    file.AppendComponent("music");
    file.AppendComponent(name);
    return file;
}

std::vector<i16> Ramp(u32 count) {
    std::vector<i16> samples(count);
    for (u32 i = 0; i < count; ++i)
        samples[i] = static_cast<i16>(i + 1);
    return samples;
}

using snSoundJobTest = snAudioFixture;

} // namespace

TEST(snSoundJob, AJobWithoutANameTakesItsFilesName) {
    snSoundJob2D job;
    job.SetFile(Named("ride.wav"));
    EXPECT_EQ(job.GetName(), envString("ride.wav"));
    job.SetFile(Named("other.wav"));
    EXPECT_EQ(job.GetName(), envString("ride.wav"));

    snSoundJob2DStreamed named;
    named.SetName("theme");
    named.SetFile(Named("theme.wav"));
    EXPECT_EQ(named.GetName(), envString("theme"));

    snSoundJob2D none;
    none.SetFile(fsLocator());
    EXPECT_EQ(none.GetName().GetLength(), 0u);
}

TEST(snSoundJob, CategoriesAreBitSets) {
    snSoundJob2D job;
    EXPECT_EQ(job.GetCategory(), 0u);
    EXPECT_TRUE(job.HasCategory(0));
    job.SetCategory(5);
    EXPECT_TRUE(job.HasCategory(0));
    EXPECT_TRUE(job.HasCategory(4));
    EXPECT_TRUE(job.HasCategory(5));
    EXPECT_FALSE(job.HasCategory(6));
    EXPECT_FALSE(job.HasCategory(2));
}

TEST(snSoundJob, LoopCountZeroTurnsLoopingOff) {
    snSoundJob2D job;
    EXPECT_EQ(job.GetLoopCount(), 1);
    job.SetLoopCount(0);
    EXPECT_FALSE(job.GetPlatformHalf().IsLooping());
    EXPECT_EQ(job.GetLoopCount(), 0);
    job.SetLoopCount(-1);
    EXPECT_TRUE(job.GetPlatformHalf().IsLooping());

    snSoundJobMP3 music;
    music.SetLoopCount(2);
    EXPECT_EQ(music.GetLoopCount(), 2);

    // The base class plays nothing and answers its defaults.
    snSoundJob base;
    EXPECT_TRUE(base.IsPlaying());
    EXPECT_FALSE(base.IsStopped());
    EXPECT_FALSE(base.IsAutoRelease());
    EXPECT_EQ(base.GetLoopCount(), 0);
    EXPECT_EQ(base.GetEffectiveVolume(), 1.0f);
}

TEST(snSoundJob, WavFilesAreKnownByTheirLastFiveCharacters) {
    EXPECT_TRUE(snIsWavFile(Named("a.WaV")));
    EXPECT_TRUE(snIsWavFile(Named("theme.wav")));
    EXPECT_FALSE(snIsWavFile(Named(".wav")));
    EXPECT_FALSE(snIsWavFile(Named("a.wa")));
    EXPECT_FALSE(snIsWavFile(Named("a.mp3")));
    EXPECT_FALSE(snIsWavFile(Named("awav")));
    EXPECT_FALSE(snIsWavFile(fsLocator()));
}

TEST(snSoundJob, ThePackageIsReferenceCounted) {
    snInit();
    snInit();
    snShutdown();
    EXPECT_EQ(snGetInitCount(), 1u);
    snShutdown();
    EXPECT_EQ(snGetInitCount(), 0u);
}

TEST_F(snSoundJobTest, ACopySharesTheSamplesButStartsWithoutNameOrCategory) {
    const std::vector<i16> samples = Ramp(400);
    snSoundJob2D job;
    job.SetFile(WriteFile("click.wav", Wave16(samples)));
    job.SetCategory(4);
    job.SetLoopCount(0);
    job.Load();
    snSoundJob2D copy(job);
    EXPECT_EQ(copy.GetName().GetLength(), 0u);
    EXPECT_EQ(copy.GetCategory(), 0u);
    ASSERT_NE(copy.GetPlatformHalf().GetBuffer(), nullptr);
    EXPECT_EQ(copy.GetPlatformHalf().GetBuffer()->GetVoice()->data,
              job.GetPlatformHalf().GetBuffer()->GetVoice()->data);
    copy.Play(0.0f);
    copy.Update(0.0f);
    EXPECT_EQ(Render(400), samples);
}

TEST_F(snSoundJobTest, AStreamedCopyIsAStreamOfItsOwnOnTheSameFile) {
    snSoundJob2DStreamed job;
    job.SetFile(WriteFile("long.wav", Wave16(Ramp(30000))));
    job.SetLoopCount(1);
    job.Load();
    job.Play(0.0f);
    job.Update(0.0f);
    Render(5000);
    snSoundJob2DStreamed copy(job);
    auto& source = static_cast<snSoundJob2DStreamedPAC&>(job.GetPlatformHalf());
    auto& cloned = static_cast<snSoundJob2DStreamedPAC&>(copy.GetPlatformHalf());
    ASSERT_NE(cloned.GetBuffer(), nullptr);
    EXPECT_NE(cloned.GetBuffer()->GetVoice()->data, source.GetBuffer()->GetVoice()->data);
    EXPECT_TRUE(copy.IsPlaying());
    // Stopping the original leaves the copy's stream whole: it starts from the first sample.
    job.Stop();
    copy.Play(0.0f);
    copy.Update(0.0f);
    const std::vector<i16> out = Render(100);
    EXPECT_EQ(out, Ramp(100));
}
