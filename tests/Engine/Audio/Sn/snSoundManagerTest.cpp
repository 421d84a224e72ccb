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

using snSoundManagerTest = snManagerFixture;

} // namespace

// A stopped auto-release job is deleted in the same pump, a kept one stays; with no sound device
// auto-release jobs are released rather than piling up.
TEST_F(snSoundManagerTest, AutoReleaseJobsGoInTheSamePump) {
    const fsLocator file = m_folder.Write("click.wav", Wave16(Ramp(200)));
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
    EXPECT_EQ(snSoundManager::FindActive(kept), kept);
    EXPECT_EQ(snSoundManager::DestroySound(kept), 1);
    EXPECT_EQ(snSoundManager::DestroySound(kept), 0);

    snStopSoundSystem();
    snSoundJob2D* silent = snSoundManager::CreateSound(file, "a", false);
    silent->Load();
    silent->Play(0.0f);
    silent->SetAutoRelease(true);
    snSoundJob2D* held = snSoundManager::CreateSound(file, "a", false);
    snSoundManager::Update(0.0f);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 1u);
    EXPECT_EQ(snSoundManager::FindActive(held), held);
}

// The index is the highest set bit (at most 6); volumes clamp (1.5 -> 1, -0.2 -> 0) and reach the jobs
// of exactly that bit set; the same volume twice pushes nothing.
TEST_F(snSoundManagerTest, CategoryVolumesClampAndPushOnlyChanges) {
    const std::pair<u32, u32> indices[] = {{0, 0}, {1, 0}, {3, 1}, {64, 6}, {128, 6}, {0x80000000u, 6}};
    for (const auto& [category, index] : indices)
        EXPECT_EQ(snSoundManager::CategoryIndex(category), index) << category;

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
    EXPECT_EQ(sameIndex->GetCategoryVolume(), 1.0f); // bits 3 share the index but are not bits 2
    snSoundManager::ApplyVolume(sameIndex);
    EXPECT_EQ(sameIndex->GetCategoryVolume(), 0.25f);
    snSoundManager::ApplyVolume(nullptr);
    exact->SetCategoryVolume(0.75f);
    snSoundManager::SetCategoryVolume(0.25f, 2);
    EXPECT_EQ(exact->GetCategoryVolume(), 0.75f);
    // A negative bit set is the top category, not undefined arithmetic.
    snSoundManager::SetCategoryVolume(0.5f, -1);
    EXPECT_EQ(snSoundManager::GetCategoryVolume(6), 0.5f);
}

// A clone miss warns and loads the file; a clone keeps the template's samples beyond its life; music
// cannot be cloned.
TEST_F(snSoundManagerTest, ClonesFromThePreloadList) {
    snSoundJob2D* missed =
        snSoundManager::CreateSound(m_folder.Write("hit.wav", Wave16(Ramp(100))), "hit", true);
    EXPECT_TRUE(m_log.Holds("snSoundManager"));
    EXPECT_TRUE(m_log.Holds("Cannot Clone Sound: does not exist in Preload List"));
    ASSERT_NE(missed, nullptr);
    missed->SetLoopCount(0);
    missed->Load();
    missed->Play(0.0f);
    snSoundManager::Update(0.0f);
    EXPECT_EQ(Render(100), Ramp(100));
    snSoundManager::DestroySound(missed);

    auto* preloaded = new snSoundJob2D;
    preloaded->SetFile(m_folder.Write("bell.wav", Wave16(Ramp(300))));
    preloaded->SetLoopCount(0);
    preloaded->Load();
    snSoundManager::AddToPreloadList(preloaded);
    snSoundManager::AddToPreloadList(preloaded);
    EXPECT_EQ(snSoundManager::GetPreloadCount(), 1u);
    snSoundJob2D* clone = snSoundManager::CreateSound(fsLocator(), "bell.wav", true);
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, preloaded);
    snSoundManager::RemoveFromPreloadList(preloaded);
    clone->Play(0.0f);
    clone->Update(0.0f);
    EXPECT_EQ(Render(300), Ramp(300));

    auto* music = new snSoundJobMP3;
    music->SetName("theme");
    snSoundManager::AddToPreloadList(music);
    EXPECT_EQ(snSoundManager::CloneByName("theme"), nullptr);
    EXPECT_TRUE(m_log.Holds("Cannot Clone Sound: unknown type"));
    EXPECT_EQ(snSoundManager::Clone(nullptr), nullptr);
    snSoundManager::AddToActiveList(music); // a template stays a template
    EXPECT_EQ(snSoundManager::FindActive(music), nullptr);
}

TEST_F(snSoundManagerTest, StreamsAndMusicAreMadeActiveWithTheirVolumes) {
    snSoundManager::SetCategoryVolume(0.5f, 1);
    snSoundJob2DStreamed* stream =
        snSoundManager::CreateStreamedSound(m_folder.Write("s.wav", Wave16(Ramp(10))));
    snSoundJobMP3* music = snSoundManager::CreateMP3Sound(m_folder.Write("m.mp3", "x"));
    EXPECT_EQ(stream->GetCategoryVolume(), 0.5f);
    EXPECT_EQ(music->GetCategoryVolume(), 0.5f);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 2u);
    snSoundManager::AddToActiveList(stream);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 2u);
}

TEST_F(snSoundManagerTest, TheListenerReachesPositionalJobsOnly) {
    const fsLocator file = m_folder.Write("a.wav", Wave16(Ramp(1000)));
    snSoundJob2D* near = snSoundManager::CreateSound(file, "a", false);
    snSoundJob2D* flat = snSoundManager::CreateSound(file, "a", false);
    near->SetPositional(true);
    near->SetMaxDistance(40.0f);
    near->SetMinDistance(20.0f);
    snSoundManager::SetListenerPosition(maVector3d(30.0f, 0.0f, 0.0f));
    for (snSoundJob2D* job : {near, flat}) {
        job->Load();
        job->Play(0.0f);
    }
    snSoundManager::Update(0.0f);
    EXPECT_FLOAT_EQ(near->GetPlatformHalf().GetDistanceFactor(), 0.5f);
    EXPECT_FLOAT_EQ(flat->GetPlatformHalf().GetDistanceFactor(), 1.0f);
}
