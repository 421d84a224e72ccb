#include "Source/Modes/coRideSettings.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coModeTestSupport.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Ride/coTrain.h"
#include "Source/Sound/coAudioTestSupport.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"

#include "Source/Track/coCircuitTestSupport.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

// The dialog and its palettes as a script: what it was shown, what the player changes, how it ends.
struct coScriptedScreens : coRidePauseDialogScreens {
    void SetMode(int mode) override { log.push_back("mode " + std::to_string(mode)); }
    void SetSettings(const coRideSettings& settings) override { shown = settings; }
    void GetSettings(coRideSettings& settings) override {
        if (edit)
            edit(settings);
    }
    int DoModal() override {
        log.push_back("modal");
        if (during)
            during();
        return result;
    }
    void HideFeedback() override { log.push_back("feedback hidden"); }
    void SetObjectivesCollapsed(bool collapsed) override {
        log.push_back(collapsed ? "objectives collapsed" : "objectives expanded");
    }

    std::vector<std::string> log;
    coRideSettings shown;
    std::function<void(coRideSettings&)> edit;
    std::function<void()> during;
    int result = 2;
};

// The builder's music playing, four cars with the camera in car 2, two stored colour schemes.
class coRideSettingsTest : public coAudioTest {
  protected:
    void SetUp() override {
        coAudioTest::SetUp();
        for (const char* name : {"build1", "build2", "ride1", "ride2", "own"})
            WriteSound(std::string("Music/") + name + ".wav", 0.5f);
        coMusicStart();
        coSetRidePauseDialogScreens(&screens);
        coGetCoasterPackageHooks().SetEnvironmentName("Mountain");
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
        Reset();
    }
    // The state every run starts from.
    void Reset() {
        screens.log.clear();
        screens.edit = nullptr;
        screens.during = nullptr;
        screens.result = 2;
        coSelectRideSoundSet("Ironvale");
        coMusicSetChoice(coMusicBuilder, 0);
        coMusicRequestContext(coMusicBuilder);
        coMusicApplyContext(true);
        coCoasterDefinitionStore().SetNumCars(4);
        coSetTrainDragOn(1);
        coSetCollisionChecks(true);
        coGetCoasterPackageHooks().LoadEnvironment(0);
        coRideSetViewCar(2);
        coSetRideCameraIndex(1);
        coSetThemeName("Ironvale");
        coSchemeMaterial shiny;
        shiny.power = 5.0f;
        coTrackColorizer::AssignSchemes({{{"Rail", coSchemeMaterial()}}, {{"Rail", shiny}}});
        coTrackColorizer::SelectScheme(0);
    }
    void TearDown() override {
        Reset();
        coRideClear();
        coSetThemeName("");
        coTrackColorizer::ClearCurrent();
        coTrackColorizer::AssignSchemes({});
        coGetCoasterPackageHooks().SetEnvironmentName("");
        coCoasterDefinitionStore().SetCoasterTypeName("");
        coSelectRideSoundSet("");
        coSetRidePauseDialogScreens(nullptr);
        coAudioTest::TearDown();
    }
    static bool MusicPlays() {
        const muMusicManager* manager = muGetMusicManager();
        return manager->GetJob() && (manager->GetFlags() & muMusicManager::kPlaying) != 0;
    }

    coScriptedScreens screens;
};

} // namespace

TEST_F(coRideSettingsTest, EachModeAppliesItsOwnShareOfAnOkAndACancelChangesNothing) {
    struct Case {
        int mode;
        int result;
        int cars, viewCar, camera, drag, environment, scheme;
        const char* theme;
        const char* fanfare;
    };
    // The player picks 2 cars, car 1, camera 3, no drag, environment 2, scheme 1, another car type and
    // fanfare. Every mode takes the cars; in modes 0 and 1 the camera's car 2 is past 2 cars and goes
    // back to 0.
    const Case cases[] = {
        {0, 1, 2, 0, 1, 0, 2, 1, "Ironvale", "Ironvale"}, {1, 1, 2, 0, 1, 1, 2, 1, "Ironvale", "Ironvale"},
        {2, 1, 2, 1, 3, 1, 0, 0, "Other", "Fanfare2"},    {3, 1, 2, 1, 3, 1, 0, 0, "Ironvale", "Ironvale"},
        {0, 2, 4, 2, 1, 1, 0, 0, "Ironvale", "Ironvale"}, {3, 2, 4, 2, 1, 1, 0, 0, "Ironvale", "Ironvale"},
    };
    for (const Case& c : cases) {
        Reset();
        if (c.mode == coRideDialogRidePause) {
            coMusicSetChoice(coMusicRide, 0);
            coMusicRequestContext(coMusicRide);
            coMusicApplyContext(true);
        }
        screens.edit = [](coRideSettings& s) {
            s.carCountIndex = 1, s.viewCar = 1, s.camera = 3, s.frictionOn = 0, s.collisionsOff = 1;
            s.environment = 2, s.colourScheme = 1, s.carType = "Other", s.fanfare = "Fanfare2";
        };
        screens.result = c.result;
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " result " << c.result);
        EXPECT_EQ(coRunRidePauseDialog(c.mode), c.result);
        EXPECT_EQ(screens.log,
                  (std::vector<std::string>{"mode " + std::to_string(c.mode), "feedback hidden",
                                            "objectives collapsed", "modal", "objectives expanded"}));
        EXPECT_EQ(std::tuple(screens.shown.carCountIndex, coGetCoasterDefinition().GetNumCars(),
                             coRideGetViewCar(), coGetRideCameraIndex(), coGetTrainDragOn(),
                             coGetCollisionChecks(), coGetCoasterPackageHooks().GetEnvironmentIndex(),
                             coTrackColorizer::GetSelectedIndex(), coGetThemeName(), coGetRideSoundSet()),
                  std::tuple(3, c.cars, c.viewCar, c.camera, c.drag, c.drag == 1, c.environment, c.scheme,
                             c.theme, c.fanfare));
        // Nothing of the music changed: it resumes, or stops for the ride about to start.
        EXPECT_EQ(MusicPlays(), c.mode != 2);
    }
}

TEST_F(coRideSettingsTest, AnotherNumberOfCarsMeasuresTheRideAgain) {
    coRecordingTrackBuilder builder;
    coFakePark park;
    coBuildR1();
    coCircuitClose();
    screens.result = 1;
    screens.edit = [](coRideSettings& s) { s.carCountIndex = 1; };
    coRideStatsClear();
    coRunRidePauseDialog(coRideDialogRidePause);
    EXPECT_GT(coGetRideStats()[coStatRideTime], 0.0f);
    // The same two cars again: the train is as it was.
    coRideStatsClear();
    coRunRidePauseDialog(coRideDialogRidePause);
    EXPECT_EQ(coGetRideStats()[coStatRideTime], 0.0f);
    coCircuitClear();
    coRideStatsClear();
}

TEST_F(coRideSettingsTest, TheBuildersOkSavesThePlayersColoursAndTheClockStandsStillMeanwhile) {
    std::vector<std::string> journal;
    coScriptedMode mode("builder", journal);
    coRecordingModeHost host;
    coSetModeHost(&host);
    coModePush(&mode);
    coModeManagerUpdate();
    const f32 start = appClock::GetTime();
    screens.result = 1;
    screens.during = [&] {
        time.Advance(0.25);
        mode.Think();
        EXPECT_EQ(appClock::GetTime(), start);
    };
    coRunRidePauseDialog(coRideDialogBuilder);
    time.Advance(0.25);
    mode.Think();
    EXPECT_GT(appClock::GetTime(), start);
    EXPECT_TRUE(fsFileExists(
        folder.Locator("Saves/Track Color Preference Settings/Mountain/Tracks/Steel/TrkColor.def")));
    coModeStackClear();
    coSetModeHost(nullptr);
}

TEST_F(coRideSettingsTest, AnotherOwnTrackRefillsItsPlaylistAndAPausedTestRideStaysSilent) {
    const fsLocator own = folder.Locator("Music/own.wav");
    screens.result = 1;
    screens.edit = [&](coRideSettings& s) { s.music = coMusicOwnTrack, s.musicFile = own; };
    coRunRidePauseDialog(coRideDialogBuilder);
    EXPECT_EQ(coMusicGetChoice(coMusicBuilder), coMusicOwnTrack);
    EXPECT_TRUE(coMusicGetOwnTrack(coMusicBuilder) == own);
    const muPlaylist& list =
        muGetMusicManager()->GetPlaylist(coMusicBuilder * coMusicChoiceCount + coMusicOwnTrack);
    ASSERT_EQ(list.tracks.size(), 1u);
    EXPECT_TRUE(MusicPlays());

    // A ride paused from the builder, its music current: neither Ok nor cancel starts the music again.
    for (int result : {1, 2}) {
        coMusicPause();
        screens.result = result;
        screens.edit = nullptr;
        coRunRidePauseDialog(coRideDialogRidePause);
        EXPECT_FALSE(MusicPlays()) << result;
    }
}
