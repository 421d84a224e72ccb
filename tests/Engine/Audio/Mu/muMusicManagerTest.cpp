#include "Engine/Audio/Mu/muMusicManager.h"
#include "../Sn/snAudioFixture.h"
#include "../Sn/snWaveBuilder.h"
#include "Engine/App/App/appClock.h"
#include "Engine/Audio/Sn/snSoundJob.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "Engine/Platform/Os/plTimeSource.h"

namespace {

constexpr u32 kFrameSamples = 22050 / 60;

// Three short WAVs, each of one level, so the output shows which one plays.
class muMusicManagerTest : public snManagerFixture {
  protected:
    void SetUp() override {
        snManagerFixture::SetUp();
        plInstallServices({.time = &m_clock, .sound = &m_device, .media = &m_media});
        appInitTime();
        for (int k = 0; k < 3; ++k) {
            const std::string name = "track" + std::to_string(k) + ".wav";
            m_folder.Write(name,
                           snWaveBuilder::Wave16(std::vector<i16>(4410, static_cast<i16>(1000 * (k + 1)))));
        }
        m_folder.Write("all.m3u", "#EXTM3U\r\ntrack0.wav\r\ntrack1.wav\r\ntrack2.wav\r\n");
    }
    void TearDown() override {
        m_manager.reset();
        snManagerFixture::TearDown();
    }

    // The levels heard, in order, each once per stretch; 0 ends a stretch but is not listed.
    std::vector<i16> Run(double seconds) {
        std::vector<i16> levels;
        i16 last = 0;
        for (u32 frame = 0; frame < seconds * 60; ++frame) {
            for (i16 sample : Render(kFrameSamples)) {
                if (sample != 0 && sample != last)
                    levels.push_back(sample);
                last = sample;
            }
            m_clock.Advance(1.0 / 60.0);
            m_time += 1.0f / 60.0f;
            snSoundManager::Update(m_time);
            m_manager->Update();
        }
        return levels;
    }

    plTestTimeSource m_clock;
    std::unique_ptr<muMusicManager> m_manager = std::make_unique<muMusicManager>();
    f32 m_time = 0.0f;
};

} // namespace

TEST_F(muMusicManagerTest, TracksAdvanceAndWrapToTheFirst) {
    m_manager->LoadPlaylist(m_folder.Locator("all.m3u"), 0);
    ASSERT_EQ(m_manager->GetTrackCount(), 3);
    m_manager->PlayCurrent();
    EXPECT_TRUE(m_manager->GetFlags() & muMusicManager::kPlaying);
    ASSERT_NE(m_manager->GetJob(), nullptr);
    EXPECT_EQ(m_manager->GetJob()->GetCategory(), 8u);
    EXPECT_EQ(m_manager->GetJob()->GetLoopCount(), 1);
    // Round and round: each 0.2 s track follows the one before within a frame or two.
    const std::vector<i16> levels = Run(2.0);
    ASSERT_GE(levels.size(), 7u);
    for (size_t i = 0; i < levels.size(); ++i)
        EXPECT_EQ(levels[i], 1000 * static_cast<i16>(i % 3 + 1)) << i;
    // One job at a time: the ended ones were released.
    EXPECT_EQ(snSoundManager::GetActiveCount(), 1u);
}

// Pause holds the track and resume goes on; without wrap the music stops after the last track.
TEST_F(muMusicManagerTest, PauseResumeAndStopAfterTheLast) {
    m_manager->LoadPlaylist(m_folder.Locator("all.m3u"), 0);
    m_manager->SetFlags(muMusicManager::kAdvance);
    m_manager->PlayCurrent();
    Run(0.1);
    m_manager->Pause();
    EXPECT_FALSE(m_manager->GetFlags() & muMusicManager::kPlaying);
    EXPECT_TRUE(Run(1.0).empty());
    m_manager->Resume();
    EXPECT_EQ(Run(3.0), (std::vector<i16>{1000, 2000, 3000}));
    EXPECT_FALSE(m_manager->GetFlags() & muMusicManager::kPlaying);
}

TEST_F(muMusicManagerTest, OneTrackRepeatsWithoutEnd) {
    m_manager->LoadPlaylist(m_folder.Locator("track2.wav"), 0);
    m_manager->PlayCurrent();
    EXPECT_EQ(m_manager->GetJob()->GetLoopCount(), -1);
    const std::vector<i16> levels = Run(2.0);
    ASSERT_FALSE(levels.empty());
    EXPECT_EQ(levels.front(), 3000);
    EXPECT_TRUE(m_manager->GetFlags() & muMusicManager::kPlaying);
}

TEST_F(muMusicManagerTest, VolumeOffAndSilence) {
    m_manager->LoadPlaylist(m_folder.Locator("all.m3u"), 0);
    m_manager->SetPlaylistVolume(0, 0.5f);
    m_manager->PlayCurrent();
    EXPECT_EQ(m_manager->GetJob()->GetVolume(), 0.5f);
    m_manager->SetPlaylistVolume(0, 0.25f);
    EXPECT_EQ(m_manager->GetJob()->GetVolume(), 0.25f);

    // Past the end of the list is silence: the music stops and nothing moves on.
    m_manager->SetTrack(7);
    m_manager->PlayCurrent();
    EXPECT_FALSE(m_manager->GetFlags() & muMusicManager::kPlaying);
    EXPECT_TRUE(Run(0.5).empty());

    m_manager->SetFlags(m_manager->GetFlags() | muMusicManager::kOff);
    m_manager->SetTrack(0);
    m_manager->PlayCurrent();
    EXPECT_FALSE(m_manager->GetFlags() & muMusicManager::kPlaying);
}

TEST_F(muMusicManagerTest, AJobTheSoundManagerDeletedIsLeftAlone) {
    m_manager->LoadPlaylist(m_folder.Locator("all.m3u"), 0);
    m_manager->PlayCurrent();
    Run(0.1);
    snSoundManager::ClearActiveList();
    EXPECT_EQ(m_manager->GetJob(), nullptr);
    m_manager->Update();
    m_manager->Pause();
    m_manager->Resume();
    m_manager->SetPlaylistVolume(0, 0.5f);
    m_manager->Stop();
    // It plays again on a job of its own.
    m_manager->PlayCurrent();
    EXPECT_EQ(Run(0.1), std::vector<i16>{104}); // level 1000 at volume 0.5
}

TEST_F(muMusicManagerTest, MP3TracksPlayThroughTheSamePath) {
    ASSERT_TRUE(plWriteMp3File(m_folder.Path("tone.mp3"), plToneSamples(440.0, 0.3, 22050, 1), 22050, 1));
    m_manager->LoadPlaylist(m_folder.Locator("tone.mp3"), 0);
    m_manager->LoadPlaylist(m_folder.Locator("track0.wav"), 0);
    m_manager->SetFlags(muMusicManager::kAdvance);
    m_manager->PlayCurrent();
    const std::vector<i16> levels = Run(2.0);
    // The tone, then the WAV's level as the last thing heard.
    ASSERT_GT(levels.size(), 10u);
    EXPECT_EQ(levels.back(), 1000);
    EXPECT_FALSE(m_manager->GetFlags() & muMusicManager::kPlaying);
}

// A track whose file is missing or damaged is warned about once and passed over like one that ended;
// nothing throws out of the frame. A playlist none of whose tracks plays falls silent.
TEST_F(muMusicManagerTest, UnplayableTracksArePassedOver) {
    m_folder.Write("bad.mp3", std::string(3000, '\x5A'));
    m_folder.Write("bad.wav", std::string(100, 'x'));
    for (const std::string name : {"missing.mp3", "missing.wav", "bad.mp3", "bad.wav"}) {
        SCOPED_TRACE(name);
        m_folder.Write("list.m3u", "track0.wav\r\n" + name + "\r\ntrack1.wav\r\n");
        m_manager = std::make_unique<muMusicManager>();
        m_manager->LoadPlaylist(m_folder.Locator("list.m3u"), 0);
        m_manager->SetFlags(muMusicManager::kAdvance);
        m_manager->PlayCurrent();
        EXPECT_EQ(Run(1.0), (std::vector<i16>{1000, 2000}));
        EXPECT_EQ(m_manager->GetTrack(), 2);
        EXPECT_FALSE(m_manager->GetFlags() & muMusicManager::kPlaying);
        EXPECT_EQ(m_log.Count(name), 1u);
    }
    m_manager->LoadPlaylist(m_folder.Write("bad.m3u", "missing.mp3\r\nbad.wav\r\n"), 0);
    m_manager->SetFlags(muMusicManager::kAdvance | muMusicManager::kWrap);
    m_manager->PlayCurrent();
    EXPECT_FALSE(m_manager->GetFlags() & muMusicManager::kPlaying);
    EXPECT_TRUE(Run(0.5).empty());
    EXPECT_TRUE(m_log.Holds("no track of playlist 0 can be played"));
}
