#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundJobMP3.h"
#include "Engine/Platform/Sound/plSoundMixer.h"
#include "snAudioFixture.h"
#include "snWaveBuilder.h"

#include <cmath>

using namespace snWaveBuilder;

namespace {

std::vector<i16> Ramp(u32 count) {
    std::vector<i16> samples(count);
    for (u32 i = 0; i < count; ++i)
        samples[i] = static_cast<i16>(1000 + i);
    return samples;
}

using snSoundManagerTest = snManagerFixture;

} // namespace

TEST_F(snSoundManagerTest, AStoppedAutoReleaseJobIsDeletedInTheSamePump) {
    snSoundManager::Update(0.0f);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);

    const fsLocator file = WriteFile("click.wav", Wave16(Ramp(200)));
    snSoundJob2D* released = snSoundManager::CreateSound(file, "click", false);
    snSoundJob2D* kept = snSoundManager::CreateSound(file, "click", false);
    for (snSoundJob2D* job : {released, kept}) {
        job->SetLoopCount(0);
        job->Load();
        job->Play(0.0f);
    }
    released->SetAutoRelease(true);
    snSoundManager::Update(0.0f);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 2u);
    Render(400);
    snSoundManager::Update(0.1f);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 1u);
    EXPECT_EQ(snSoundManager::FindActive(released), nullptr);
    EXPECT_EQ(snSoundManager::FindActive(kept), kept);
    EXPECT_TRUE(kept->IsStopped());
    EXPECT_EQ(snSoundManager::DestroySound(kept), 1);
    EXPECT_EQ(snSoundManager::DestroySound(kept), 0);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);
}

TEST_F(snSoundManagerTest, WithoutASoundDeviceAutoReleaseJobsDoNotPileUp) {
    snStopSoundSystem();
    snSoundJob2D* job = snSoundManager::CreateSound(WriteFile("a.wav", Wave16(Ramp(10))), "a", false);
    job->Load();
    job->Play(0.0f);
    job->SetAutoRelease(true);
    snSoundJob2D* held = snSoundManager::CreateSound(WriteFile("a.wav", Wave16(Ramp(10))), "a", false);
    snSoundManager::Update(0.0f);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 1u);
    EXPECT_EQ(snSoundManager::FindActive(held), held);
}

TEST_F(snSoundManagerTest, CategoryVolumesClampAndPushOnlyChanges) {
    EXPECT_EQ(snSoundManager::CategoryIndex(0), 0u);
    EXPECT_EQ(snSoundManager::CategoryIndex(1), 0u);
    EXPECT_EQ(snSoundManager::CategoryIndex(3), 1u);
    EXPECT_EQ(snSoundManager::CategoryIndex(64), 6u);
    EXPECT_EQ(snSoundManager::CategoryIndex(128), 6u);
    EXPECT_EQ(snSoundManager::CategoryIndex(0x80000000u), 6u);

    snSoundJob2D* exact = snSoundManager::CreateSound(fsLocator(), "a", false);
    snSoundJob2D* sameIndex = snSoundManager::CreateSound(fsLocator(), "b", false);
    exact->SetCategory(2);
    sameIndex->SetCategory(3);
    snSoundManager::SetCategoryVolume(1.5f, 2);
    EXPECT_EQ(snSoundManager::GetCategoryVolume(1), 1.0f);
    snSoundManager::SetCategoryVolume(-0.2f, 4);
    EXPECT_EQ(snSoundManager::GetCategoryVolume(2), 0.0f);
    snSoundManager::SetCategoryVolume(std::nanf(""), 8);
    EXPECT_EQ(snSoundManager::GetCategoryVolume(3), 0.0f);

    snSoundManager::SetCategoryVolume(0.25f, 2);
    EXPECT_EQ(exact->GetCategoryVolume(), 0.25f);
    // Bits 3 share the index but are not bits 2: untouched until applied again.
    EXPECT_EQ(sameIndex->GetCategoryVolume(), 1.0f);
    snSoundManager::ApplyVolume(sameIndex);
    EXPECT_EQ(sameIndex->GetCategoryVolume(), 0.25f);
    snSoundManager::ApplyVolume(nullptr);

    // The same volume again pushes nothing.
    exact->SetCategoryVolume(0.75f);
    snSoundManager::SetCategoryVolume(0.25f, 2);
    EXPECT_EQ(exact->GetCategoryVolume(), 0.75f);
    // A negative bit set is the top category, not undefined arithmetic.
    snSoundManager::SetCategoryVolume(0.5f, -1);
    EXPECT_EQ(snSoundManager::GetCategoryVolume(6), 0.5f);

    snSoundManager::Init();
    EXPECT_EQ(snSoundManager::GetCategoryVolume(1), 1.0f);
}

TEST_F(snSoundManagerTest, ACloneMissWarnsAndLoadsTheFile) {
    const fsLocator file = WriteFile("hit.wav", Wave16(Ramp(100)));
    snSoundJob2D* job = snSoundManager::CreateSound(file, "hit", true);
    EXPECT_TRUE(m_log.Holds("Cannot Clone Sound: does not exist in Preload List"));
    EXPECT_TRUE(m_log.Holds("snSoundManager"));
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->GetName(), envString("hit"));
    job->SetLoopCount(0);
    job->Load();
    job->Play(0.0f);
    snSoundManager::Update(0.0f);
    EXPECT_EQ(Render(100), Ramp(100));
}

TEST_F(snSoundManagerTest, ClonesShareTheTemplatesSamplesBeyondItsLife) {
    auto* preloaded = new snSoundJob2D;
    preloaded->SetFile(WriteFile("bell.wav", Wave16(Ramp(300))));
    preloaded->SetLoopCount(0);
    preloaded->Load();
    snSoundManager::AddToPreloadList(preloaded);
    snSoundManager::AddToPreloadList(preloaded);
    EXPECT_EQ(snSoundManager::GetPreloadCount(), 1u);

    snSoundJob2D* clone = snSoundManager::CreateSound(fsLocator(), "bell.wav", true);
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, preloaded);
    EXPECT_EQ(snSoundManager::FindActive(clone), clone);
    EXPECT_EQ(snSoundManager::Clone(preloaded) != nullptr, true);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 2u);

    snSoundManager::RemoveFromPreloadList(preloaded);
    EXPECT_EQ(snSoundManager::GetPreloadCount(), 0u);
    clone->Play(0.0f);
    clone->Update(0.0f);
    EXPECT_EQ(Render(300), Ramp(300));
}

TEST_F(snSoundManagerTest, MusicCannotBeCloned) {
    auto* music = new snSoundJobMP3;
    music->SetName("theme");
    snSoundManager::AddToPreloadList(music);
    EXPECT_EQ(snSoundManager::CloneByName("theme"), nullptr);
    EXPECT_TRUE(m_log.Holds("Cannot Clone Sound: unknown type"));
    EXPECT_EQ(snSoundManager::Clone(nullptr), nullptr);
    // A template given to the active list stays a template.
    snSoundManager::AddToActiveList(music);
    EXPECT_EQ(snSoundManager::FindActive(music), nullptr);
}

TEST_F(snSoundManagerTest, StreamsAndMusicAreMadeActiveWithTheirVolumes) {
    snSoundManager::SetCategoryVolume(0.5f, 1);
    snSoundJob2DStreamed* stream = snSoundManager::CreateStreamedSound(WriteFile("s.wav", Wave16(Ramp(10))));
    snSoundJobMP3* music = snSoundManager::CreateMP3Sound(WriteFile("m.mp3", "x"));
    EXPECT_EQ(stream->GetCategoryVolume(), 0.5f);
    EXPECT_EQ(music->GetCategoryVolume(), 0.5f);
    EXPECT_EQ(stream->GetName(), envString("s.wav"));
    EXPECT_EQ(snSoundManager::GetActiveCount(), 2u);
    snSoundManager::AddToActiveList(stream);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 2u);
}

TEST_F(snSoundManagerTest, TheListenerReachesPositionalJobsOnly) {
    const fsLocator file = WriteFile("a.wav", Wave16(Ramp(1000)));
    snSoundJob2D* near = snSoundManager::CreateSound(file, "a", false);
    snSoundJob2D* flat = snSoundManager::CreateSound(file, "a", false);
    near->SetPositional(true);
    near->SetMaxDistance(40.0f);
    near->SetMinDistance(20.0f);
    near->SetPosition(maVector3d(0.0f, 0.0f, 0.0f));
    snSoundManager::SetListenerPosition(maVector3d(30.0f, 0.0f, 0.0f));
    snSoundManager::SetListenerOrientation(maRotation());
    for (snSoundJob2D* job : {near, flat}) {
        job->Load();
        job->Play(0.0f);
    }
    snSoundManager::Update(0.0f);
    EXPECT_FLOAT_EQ(near->GetPlatformHalf().GetDistanceFactor(), 0.5f);
    EXPECT_FLOAT_EQ(flat->GetPlatformHalf().GetDistanceFactor(), 1.0f);
}
