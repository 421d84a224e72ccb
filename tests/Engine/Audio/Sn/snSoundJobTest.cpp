#include "Engine/Audio/Sn/private/snSoundJob2DStreamedPAC.h"
#include "Engine/Audio/Sn/snPackage.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
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

using snSoundJobTest = snAudioFixture;

} // namespace

// A job without a name takes its file's name (once); categories are bit sets; loop count 0 turns
// looping off; "a.WaV" counts as WAV and ".wav" does not.
TEST(snSoundJob, NamesCategoriesLoopsAndWavNames) {
    snSoundJob2D job;
    job.SetFile(Named("ride.wav"));
    job.SetFile(Named("other.wav"));
    EXPECT_EQ(job.GetName(), envString("ride.wav"));
    snSoundJob2DStreamed named;
    named.SetName("theme");
    named.SetFile(Named("theme.wav"));
    EXPECT_EQ(named.GetName(), envString("theme"));

    EXPECT_TRUE(job.HasCategory(0));
    job.SetCategory(5);
    for (u32 category : {0u, 4u, 5u})
        EXPECT_TRUE(job.HasCategory(category)) << category;
    for (u32 category : {2u, 6u})
        EXPECT_FALSE(job.HasCategory(category)) << category;

    job.SetLoopCount(0);
    EXPECT_FALSE(job.GetPlatformHalf().IsLooping());
    job.SetLoopCount(-1);
    EXPECT_TRUE(job.GetPlatformHalf().IsLooping());

    for (const char* name : {"a.WaV", "theme.wav"})
        EXPECT_TRUE(snIsWavFile(Named(name))) << name;
    for (const char* name : {".wav", "a.wa", "a.mp3", "awav"})
        EXPECT_FALSE(snIsWavFile(Named(name))) << name;
    EXPECT_FALSE(snIsWavFile(fsLocator()));

    snInit();
    snInit();
    snShutdown();
    EXPECT_EQ(snGetInitCount(), 1u);
    snShutdown();
}

// A copy shares the samples but starts without name or category; a streamed copy is a stream of its
// own on the same file, whole when the original stops.
TEST_F(snSoundJobTest, CopiesOfStaticAndStreamedJobs) {
    snSoundJob2D job;
    job.SetFile(m_folder.Write("click.wav", Wave16(Ramp(400))));
    job.SetCategory(4);
    job.SetLoopCount(0);
    job.Load();
    snSoundJob2D copy(job);
    EXPECT_EQ(copy.GetName().GetLength(), 0u);
    EXPECT_EQ(copy.GetCategory(), 0u);
    ASSERT_NE(copy.GetPlatformHalf().GetBuffer(), nullptr);
    EXPECT_EQ(copy.GetPlatformHalf().GetBuffer()->GetVoice()->data,
              job.GetPlatformHalf().GetBuffer()->GetVoice()->data);

    snSoundJob2DStreamed stream;
    stream.SetFile(m_folder.Write("long.wav", Wave16(Ramp(30000))));
    stream.Load();
    stream.Play(0.0f);
    stream.Update(0.0f);
    Render(5000);
    snSoundJob2DStreamed streamCopy(stream);
    EXPECT_NE(streamCopy.GetPlatformHalf().GetBuffer()->GetVoice()->data,
              stream.GetPlatformHalf().GetBuffer()->GetVoice()->data);
    stream.Stop();
    streamCopy.Play(0.0f);
    streamCopy.Update(0.0f);
    EXPECT_EQ(Render(100), Ramp(100));
}
