#include "Source/Modes/coModeSounds.h"

#include "Engine/Audio/Sn/snSoundJob.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Modes/coModeFlythrough.h"

#include "Source/Modes/coModeTestSupport.h"
#include "Source/Sound/coAudioTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"

namespace {

class coRideAmbientSoundTest : public coAudioTest {
  protected:
    void SetUp() override {
        coAudioTest::SetUp();
        folder.MakeFolder("Environments/Mountain/Sound");
        fsAddRootDirectory(coRootEnvironments, folder.Locator("Environments"));
        park.environmentName = "Mountain";
    }
    coFakePark park;
};

TEST_F(coRideAmbientSoundTest, AnUnreadableFileIsSkippedByNameAndAGoodOneDucksInTubes) {
    folder.Write("Environments/Mountain/Sound/Ambient.wav", "RIFF\x10\0\0\0WAVEjunk");
    coRideAmbientSound ambient;
    ambient.Start(0.0f);
    EXPECT_FALSE(ambient.IsStarted());
    EXPECT_TRUE(log.Holds("Ambient.wav"));

    WriteSound("Environments/Mountain/Sound/Ambient.wav");
    coPrefs::SetBool(coPrefAmbientOff, true);
    ambient.Start(0.0f);
    EXPECT_FALSE(ambient.IsStarted());
    coPrefs::SetBool(coPrefAmbientOff, false);
    ambient.Start(0.0f);
    ASSERT_TRUE(ambient.IsStarted());
    EXPECT_EQ(snSoundManager::GetActiveCount(), 1u);
    // A tenth of a second halfway to 0.4, then there; out of the tube back to 1.0.
    const struct {
        bool tube;
        float time;
        float volume;
    } steps[] = {{true, 0.1f, 0.6f}, {true, 0.3f, 0.4f}, {false, 0.4f, 0.7f}, {false, 0.9f, 1.0f}};
    for (const auto& step : steps) {
        ambient.Follow(step.tube, step.time);
        EXPECT_FLOAT_EQ(ambient.GetVolume(), step.volume) << step.time;
    }
    ambient.Destroy();
    EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);
}

TEST_F(coRideAmbientSoundTest, FlightVoiceStartsInTheFirstFrameAndStopsOnExit) {
    coRecordingModeHost host;
    coSetModeHost(&host);
    folder.MakeFolder("Voice/Starter");
    coFlythroughPath path;
    path.AddPoint(maVector3d(0.0f, 10.0f, 0.0f), maVector3d(0.0f, 0.0f, 10.0f));
    // A voice that cannot be read is left out by name, and not tried again.
    for (bool readable : {true, false}) {
        if (readable)
            WriteSound("Voice/Starter/mvo1.wav");
        else
            folder.Write("Voice/Starter/mvo1.wav", "RIFF");
        coModeFlythrough flight;
        flight.SetPath(&path);
        flight.SetVoiceFile(folder.Locator("Voice/Starter/mvo1.wav"));
        ASSERT_TRUE(flight.HasVoice());
        flight.Enter();
        flight.Think();
        EXPECT_EQ(flight.GetVoiceSound() != nullptr, readable);
        EXPECT_EQ(flight.HasVoice(), readable);
        EXPECT_EQ(log.Holds("mvo1.wav"), !readable);
        flight.Exit();
        EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);
    }
    coSetModeHost(nullptr);
}

} // namespace
