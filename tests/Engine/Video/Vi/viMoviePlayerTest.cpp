#include "Engine/Video/Vi/viMoviePlayer.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Codec/plLibMediaDecoders.h"
#include "Engine/Platform/Media/plMediaFixtures.h"
#include "Engine/Platform/Media/plMovieHost.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/Window/plVirtualKeys.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Video/Vi/viPackage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// A movie played on the test host: waits move the clock and render the sound device by as much.
class viMoviePlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(m_device.Open(), plSoundResult::Ok);
        ASSERT_EQ(m_device.CreatePrimaryBuffer(), plSoundResult::Ok);
        m_device.SetPrimaryFormat(plWaveFormat{1, 1, 22050, 44100, 2, 16});
        m_device.PlayPrimary();
        Install(&m_device);
        m_host.SetWaitHandler([this](u32 milliseconds) {
            m_clock.Advance(milliseconds / 1000.0);
            m_elapsed += milliseconds;
            const auto due = static_cast<u64>(m_elapsed * 22050 / 1000);
            if (m_renderSound)
                m_device.Render(static_cast<u32>(due - m_rendered));
            m_rendered = due;
            if (m_spaceAt && m_elapsed >= m_spaceAt)
                m_host.SetKeyDown(plVk::Space, true);
        });
    }
    void TearDown() override { plInstallServices({}); }

    void Install(plSoundDevice* sound) {
        plServices services;
        services.time = &m_clock;
        services.sound = sound;
        services.movie = &m_host;
        services.media = &m_media;
        plInstallServices(services);
    }

    fsLocator WriteMovie(const std::string& name, const plMovieContent& content) {
        EXPECT_TRUE(plWriteMovieFile(m_folder.Path(name), content));
        return m_folder.Locator(name);
    }
    const std::vector<plVideoFrame>& Frames() { return m_host.GetRecordingSink().GetFrames(); }

    fsTestFolder m_folder;
    plTestTimeSource m_clock;
    plTestSoundDevice m_device;
    plTestMovieHost m_host;
    plLibMediaDecoders m_media;
    u64 m_elapsed = 0;
    u64 m_rendered = 0;
    u64 m_spaceAt = 0;
    bool m_renderSound = true;
};

} // namespace

TEST_F(viMoviePlayerTest, EveryPictureArrivesInItsColoursPacedByTheSound) {
    const fsLocator file = WriteMovie("bars.avi", plColourBarMovie(48));
    viMoviePlayer player;
    player.Play(file);
    ASSERT_EQ(Frames().size(), 48u);
    for (size_t i = 0; i < Frames().size(); ++i) {
        EXPECT_NEAR(Frames()[i].time, i / 24.0, 1e-6);
        ASSERT_EQ(Frames()[i].width, 64u);
        ASSERT_EQ(Frames()[i].height, 48u);
        plExpectColourBars(Frames()[i]);
    }
    EXPECT_EQ(m_host.GetRecordingSink().GetBegun(), 1u);
    EXPECT_EQ(m_host.GetRecordingSink().GetEnded(), 1u);
    EXPECT_EQ(m_host.GetRecordingSink().GetWidth(), 64u);
    // Two seconds of movie take two seconds, and the tone came out of the mixer.
    EXPECT_NEAR(static_cast<double>(m_elapsed), 2000.0, 60.0);
    const std::vector<i16>& sound = m_device.GetOutput();
    ASSERT_GT(sound.size(), 40000u);
    EXPECT_NEAR(plRms(sound, 5000, 25000) / 32767.0, 0.354, 0.04);
}

TEST_F(viMoviePlayerTest, HoldingSpaceEndsTheMovieWithinAQuarterSecond) {
    const fsLocator file = WriteMovie("bars.avi", plColourBarMovie(48));
    m_spaceAt = 500;
    viMoviePlayer player;
    player.Play(file);
    EXPECT_LE(m_elapsed, 750u);
    EXPECT_LT(Frames().size(), 20u);
    EXPECT_EQ(m_host.GetRecordingSink().GetEnded(), 1u);

    // Without the skip flag Space does nothing.
    m_host.SetKeyDown(plVk::Space, false);
    m_spaceAt = m_elapsed + 100;
    player.GetBackend()->SetSkippable(false);
    const size_t before = Frames().size();
    player.Play(file);
    EXPECT_EQ(Frames().size() - before, 48u);
}

TEST_F(viMoviePlayerTest, APressBeforeTheMovieIsIgnored) {
    const fsLocator file = WriteMovie("bars.avi", plColourBarMovie(48));
    m_host.PressKey(plVk::Space);
    viMoviePlayer player;
    player.Play(file);
    EXPECT_EQ(Frames().size(), 48u);
}

TEST_F(viMoviePlayerTest, MissingSoundOnlyAndClosedPlayersReturnAtOnce) {
    viMoviePlayer player;
    player.Play(m_folder.Locator("missing.avi"));
    // A pipe in place of the movie is refused, never waited on for a writer.
    ASSERT_EQ(mkfifo(m_folder.Path("pipe.avi").c_str(), 0600), 0);
    player.Play(m_folder.Locator("pipe.avi"));
    plMovieContent soundOnly = plColourBarMovie(24);
    soundOnly.frames.clear();
    player.Play(WriteMovie("sound.avi", soundOnly));
    EXPECT_EQ(m_host.GetWaitedMilliseconds(), 0u);
    EXPECT_EQ(m_host.GetRecordingSink().GetBegun(), 0u);

    const fsLocator file = WriteMovie("bars.avi", plColourBarMovie(4));
    player.Close();
    EXPECT_EQ(player.GetBackend(), nullptr);
    player.Play(file);
    EXPECT_TRUE(Frames().empty());

    plInstallServices({});
    viMoviePlayer unhosted;
    unhosted.Play(file);
    EXPECT_TRUE(Frames().empty());
}

TEST_F(viMoviePlayerTest, WithoutSoundTheClockKeepsThePace) {
    Install(nullptr);
    viMoviePlayer player;
    player.Play(WriteMovie("bars.avi", plColourBarMovie(48)));
    EXPECT_EQ(Frames().size(), 48u);
    EXPECT_NEAR(static_cast<double>(m_elapsed), 2000.0, 60.0);
    for (i16 sample : m_device.GetOutput())
        ASSERT_EQ(sample, 0);
}

TEST_F(viMoviePlayerTest, StalledSoundDoesNotHoldTheMovieForever) {
    m_renderSound = false;
    viMoviePlayer player;
    player.Play(WriteMovie("bars.avi", plColourBarMovie(48)));
    EXPECT_EQ(Frames().size(), 48u);
    EXPECT_NEAR(static_cast<double>(m_elapsed), 2250.0, 100.0);
}

TEST_F(viMoviePlayerTest, DamagedFilesPlayWhatTheyHold) {
    ASSERT_TRUE(plWriteMovieFile(m_folder.Path("bars.avi"), plColourBarMovie(12)));
    const std::string bytes = m_folder.Read("bars.avi");
    viMoviePlayer player;
    for (size_t length : {bytes.size() / 4, bytes.size() / 2, bytes.size() - 100}) {
        player.Play(m_folder.Write("cut.avi", bytes.substr(0, length)));
    }
    EXPECT_LE(Frames().size(), 36u);
    EXPECT_EQ(m_host.GetRecordingSink().GetBegun(), m_host.GetRecordingSink().GetEnded());
}

// Each pair counts on its own; the nested pairs hold the debug package while they are started.
TEST(viPackage, StartAndStopAreCounted) {
    struct Pair {
        void (*init)();
        void (*shutdown)();
        u32 (*count)();
    };
    const Pair pairs[] = {{viInit, viShutdown, viGetInitCount},
                          {viInitLevel1, viShutdownLevel1, viGetLevel1Count},
                          {viInitLevel2, viShutdownLevel2, viGetLevel2Count}};
    for (const Pair& pair : pairs) {
        const u32 debug = dbgGetInitCount();
        pair.init();
        pair.init();
        pair.shutdown();
        EXPECT_EQ(pair.count(), 1u);
        EXPECT_EQ(dbgGetInitCount(), debug + 1);
        pair.shutdown();
        EXPECT_EQ(pair.count(), 0u);
        EXPECT_EQ(dbgGetInitCount(), debug);
    }
}
