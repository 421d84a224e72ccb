#include "Source/Modes/coModeFlythrough.h"
#include "Source/Modes/coModeRideCoaster.h"
#include "Source/Modes/coModeTestRideCoaster.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEvent.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Modes/coCameraManipFixed.h"
#include "Source/Modes/coCameraManipRide.h"
#include "Source/Modes/coModeManipulateProp.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"

#include "Source/Modes/coEditorTestSupport.h"
#include "Source/Modes/coModeTestSupport.h"
#include "Source/Screens/coPointerShapes.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace {

// Records what the ride modes show and answers the pause dialog as scripted.
struct coRecordingRideHost : coRideModeHost {
    coRecordingRideHost() { coSetRideModeHost(this); }
    ~coRecordingRideHost() override { coSetRideModeHost(nullptr); }

    void SetStats(float speed, float, const maVector3d&, float, float) override { lastSpeed = speed; }
    void ShowHud(bool shown) override { hudShown = shown; }
    void ShowPointer(bool shown) override { pointerShown = shown; }
    void SetPointerShape(i32 shape) override { pointerShape = shape; }
    void HideConstraintCounters() override { countersHidden = true; }
    void ShowFeedback(u32 message, float seconds) override {
        feedback = std::to_string(message) + " for " + std::to_string(static_cast<int>(seconds));
        feedbackEnds = appClock::GetTime() + seconds;
    }
    void HideFeedback() override { feedback.clear(); }
    // The main palette's own step: its message goes once its time is up.
    void ExpireFeedback() {
        if (appClock::GetTime() >= feedbackEnds)
            HideFeedback();
    }
    i32 RunPauseDialog(i32 mode) override {
        dialogMode = mode;
        hudDuringDialog = hudShown;
        pausedDuringDialog = coRideIsPaused();
        return duringDialog();
    }
    i32 GetPauseDialogExit() override { return exitAction; }
    void CaptureMovieFrame(i32 shrink) override {
        if (unwritable)
            throw fsReadOnlyX(fsLocator());
        captures.push_back({shrink, appClock::GetDeltaTime()});
    }

    std::function<i32()> duringDialog = [] { return 2; };
    i32 exitAction = 0;
    i32 dialogMode = -1;
    bool hudShown = true, hudDuringDialog = true, pointerShown = true, pausedDuringDialog = false;
    bool countersHidden = false, unwritable = false;
    i32 pointerShape = -1;
    float lastSpeed = 0.0f;
    std::string feedback; // the main palette's message and its seconds, empty when hidden
    float feedbackEnds = 0.0f;
    struct Capture {
        i32 shrink;
        float step;
    };
    std::vector<Capture> captures;
};

// Four car objects whose visibility is recorded.
struct coCountedCars : coRideCarScene {
    coCountedCars() { coSetRideCarScene(this); }
    ~coCountedCars() override { coSetRideCarScene(nullptr); }
    int GetCarCount() const override { return 4; }
    void SetCarsVisible(bool shown) override { visible = shown; }
    bool visible = false;
};

class coRideModeTest : public coModeTest {
  protected:
    void SetUp() override {
        coModeTest::SetUp();
        // The frame clock from 0, so that each frame's step is 1/60 s exactly enough to count frames.
        appInitTime();
        appClock::SetTime(0.0f, 0.0f);
        coCircuitClear();
        coPrefs::SetDefaults();
        coSetCoasterDefinition(&definition);
        coBuildR1();
        coCircuitClose();
        coSetMode(0, &mainMenu);
        coSetMode(2, &loadMenu);
        coSetMode(4, &careerMenu);
        coSetMode(6, &builderMode);
        coSetMode(7, &careerBuilder);
        coSetMode(coModeIdRide, &ride);
        coSetMode(coModeIdTestRide, &testRide);
    }
    void TearDown() override {
        coRideClear();
        coCircuitClear();
        coSetCoasterDefinition(nullptr);
        coModeTest::TearDown();
    }
    // The next frame, 1/60 s later unless told (a frame's clock takes at most a second).
    void Frame(double seconds = 1.0 / 60.0) {
        time.Advance(seconds);
        coModeManagerUpdate();
        input.Clear();
    }
    void Char(coMode& mode, u16 code) {
        appCharEvent event(code);
        dynamic_cast<appCharEventHandler&>(mode).OnChar(&event);
    }

    coRecordingTrackBuilder builder;
    coFakePark park;
    coScriptedEditorInput input;
    coRecordingRideHost rideHost;
    coCountedCars cars;
    coCoasterDefinition definition;
    coScriptedMode mainMenu{"main", journal}, loadMenu{"load", journal}, careerMenu{"career", journal},
        builderMode{"builder", journal}, careerBuilder{"career builder", journal};
    coModeRideCoaster ride;
    coModeTestRideCoaster testRide;
};

TEST_F(coRideModeTest, PauseExitsLeadOnByTheEntryBelowTheRide) {
    const struct {
        i32 exit;
        i32 below;
        std::vector<i32> stack; // ids after the frame, the last one current; 11 the ride
        bool countersHidden;
    } cases[] = {
        {3, 7, {7, 4}, true},      {3, 6, {0}, false}, {2, 2, {2}, false},
        {2, 6, {6, 11, 2}, false}, {1, 2, {6}, false}, {1, 7, {7}, false},
    };
    for (const auto& c : cases) {
        coModeStackClear();
        coBuildR1();
        coCircuitClose();
        rideHost.exitAction = c.exit;
        rideHost.countersHidden = false;
        coModePush(coGetMode(c.below));
        coModePush(&ride);
        input.released.insert(coActionEscape);
        coModeManagerUpdate();
        input.Clear();
        EXPECT_EQ(rideHost.dialogMode, 3);
        EXPECT_TRUE(rideHost.pausedDuringDialog);
        EXPECT_FALSE(coRideIsPaused()) << c.exit << " " << c.below;
        ASSERT_EQ(coModeStackSize(), static_cast<i32>(c.stack.size())) << c.exit << " " << c.below;
        EXPECT_EQ(coCurrentMode(), coGetMode(c.stack.back())) << c.exit << " " << c.below;
        EXPECT_EQ(rideHost.countersHidden, c.countersHidden);
        if (coCurrentMode() != &ride && coModeStackIsPrevious(coModeIdRide))
            ride.Exit();
    }
}

// No goes back to the pause the question came from; closed then, the ride carries on. Yes leaves.
TEST_F(coRideModeTest, MainOrLoadOverUnsavedWorkAsksTheRidesQuestionFirst) {
    const struct {
        i32 exit;
        u32 question;
        i32 next;
    } cases[] = {{3, 21, coModeIdMainMenu}, {2, 22, coModeIdLoadMenu}};
    for (const auto& c : cases) {
        coRecordingEditorHost editorHost;
        builderMode.modified = true;
        int shown = 0;
        // The exit button at the first showing of the pause; closed at the next.
        rideHost.duringDialog = [&] {
            rideHost.exitAction = shown++ == 0 ? c.exit : 0;
            return 2;
        };
        coModeStackClear();
        coModePush(&builderMode);
        coModePush(&ride);
        for (const i32 answer : {2, 1}) {
            shown = 0;
            editorHost.answer = answer;
            input.released.insert(coActionEscape);
            coModeManagerUpdate();
            input.Clear();
            EXPECT_EQ(coCurrentMode(), answer == 1 ? coGetMode(c.next) : &ride) << c.exit << " " << answer;
            EXPECT_EQ(shown, answer == 1 ? 1 : 2) << c.exit << " " << answer;
            EXPECT_FALSE(coRideIsPaused());
        }
        EXPECT_EQ(editorHost.questions, (std::vector<u32>{c.question, c.question}));
        if (coModeStackIsPrevious(coModeIdRide))
            ride.Exit();
    }
}

// Closing the window warns of the builder's unsaved work from the modes run over the builder as well:
// the ride, the test ride and the tools hold that work.
TEST_F(coRideModeTest, ModesRunOverTheBuilderAnswerForItsUnsavedWork) {
    coModeRotateProp tool;
    const struct {
        coMode* over;
        i32 below; // -1: nothing below
        bool builderModified;
        bool modified;
    } cases[] = {{&ride, 6, true, true},       {&ride, 6, false, false}, {&ride, 7, true, true},
                 {&ride, 2, true, false},      {&ride, -1, true, false}, {&testRide, 6, true, true},
                 {&testRide, 6, false, false}, {&tool, 6, true, true},   {&tool, 7, false, false}};
    for (const auto& c : cases) {
        builderMode.modified = careerBuilder.modified = c.builderModified;
        coModeStackClear();
        if (c.below >= 0)
            coModePush(coGetMode(c.below));
        coModePush(c.over);
        EXPECT_EQ(c.over->IsModified(), c.modified) << c.below;
    }
}

// "Now riding" (and the name it shows) keeps the rest of its 60 s through the pause's Ok and a Space
// restart; once its time ran out, neither brings it back.
TEST_F(coRideModeTest, NowRidingKeepsItsTimeThroughAPauseAndARestart) {
    coModePush(&ride);
    Frame();
    EXPECT_EQ(rideHost.feedback, "11 for 60");
    rideHost.duringDialog = [] { return 1; };
    for (int second = 0; second < 10; ++second)
        Frame(1.0);
    input.released.insert(coActionEscape);
    Frame();
    EXPECT_EQ(rideHost.feedback, "11 for 50");
    Char(ride, 32);
    EXPECT_EQ(rideHost.feedback, "11 for 50");
    for (int second = 0; second < 60; ++second)
        Frame(1.0);
    input.released.insert(coActionEscape);
    Frame();
    EXPECT_EQ(rideHost.feedback, "");
}

TEST_F(coRideModeTest, PauseShowsTheHiddenHudAndResumesEvenWhenTheDialogThrows) {
    coModePush(&ride);
    Frame();
    Char(ride, 9); // Tab
    EXPECT_FALSE(rideHost.hudShown);
    rideHost.duringDialog = [] { return 1; };
    rideHost.SetRideCamera(coRideCameraFixed);
    input.released.insert(coActionEscape);
    Frame();
    EXPECT_TRUE(rideHost.hudDuringDialog);
    EXPECT_FALSE(rideHost.hudShown);
    EXPECT_EQ(ride.GetCurrentCamera(), coRideCameraFixed);
    EXPECT_FALSE(rideHost.pointerShown);

    rideHost.duringDialog = []() -> i32 { throw std::runtime_error("dialog"); };
    input.released.insert(coActionEscape);
    time.Advance(1.0 / 60.0);
    EXPECT_THROW(coModeManagerUpdate(), std::runtime_error);
    EXPECT_FALSE(coRideIsPaused());
    EXPECT_FALSE(rideHost.pointerShown);
    EXPECT_EQ(rideHost.pointerShape, coPointerWait);
    ride.Exit();
    EXPECT_TRUE(rideHost.hudShown);
}

TEST_F(coRideModeTest, AnOkThatChangesTheCarsSetsTheNewTrainOffAgain) {
    definition.SetNumCars(4);
    coModePush(&builderMode);
    coModePush(&ride);
    for (int i = 0; i < 60; ++i)
        Frame();
    ASSERT_GT(coRideGetTrainElapsed(0), 0.9f);
    // The dialog's Ok has given the coaster two cars.
    rideHost.duringDialog = [this] {
        definition.SetNumCars(2);
        return 1;
    };
    input.released.insert(coActionEscape);
    Frame();
    coRideSetViewCar(7);
    EXPECT_EQ(&coRideGetTrainViewCar(0) - &coRideGetLeadCar(0), 1);
    EXPECT_EQ(std::tuple(coRideIsRunning(), coRideGetTrainElapsed(0)), std::tuple(true, 0.0f));
    // The cars are the coaster's: the builder below holds a change.
    EXPECT_TRUE(builderMode.modified);
    // An Ok that leaves the cars as they are lets the ride go on and changes nothing.
    builderMode.modified = false;
    rideHost.duringDialog = [] { return 1; };
    Frame();
    input.released.insert(coActionEscape);
    Frame();
    EXPECT_GT(coRideGetTrainElapsed(0), 0.0f);
    EXPECT_FALSE(builderMode.modified);
    ride.Exit();
    coModeStackClear();
}

TEST_F(coRideModeTest, CameraAndViewCarKeysKeepTheirBounds) {
    coRideSetViewCar(-1);
    coSetWorldTextured(false); // the building view
    coModePush(&ride);
    Frame();
    EXPECT_TRUE(coIsWorldTextured());
    EXPECT_EQ(coRideGetViewCar(), 0);
    EXPECT_TRUE(cars.visible);
    const struct {
        std::set<i32> keys;
        i32 camera;
        i32 viewCar;
        bool carsVisible;
    } cases[] = {
        {{31}, coRideCameraCloseSeat, 0, false}, {{29}, coRideCameraFixed, 0, true},
        {{34}, coRideCameraFixed, 2, true},      {{75, 32}, coRideCameraFixed, 2, true}, // car 4 of 4
        {{27, 35}, coRideCameraSeat, 2, true},
    };
    for (const auto& c : cases) {
        input.keys = c.keys;
        Frame();
        input.keys.clear();
        EXPECT_EQ(ride.GetCurrentCamera(), c.camera);
        EXPECT_EQ(rideHost.GetRideCamera(), c.camera);
        EXPECT_EQ(coRideGetViewCar(), c.viewCar);
        EXPECT_EQ(cars.visible, c.carsVisible);
    }
    ride.Exit();
    EXPECT_FALSE(coIsWorldTextured()); // the building view again
    coSetWorldTextured(true);
}

TEST_F(coRideModeTest, MovieCaptureStepsTheClockAndStopsOnceWhenItCannotWrite) {
    ride.SetMovieFrameRate(30.0f);
    ride.SetMovieShrink(2);
    ride.SetMovieCapture(true);
    coModePush(&ride);
    Frame();
    for (int frame = 0; frame < 4; ++frame) {
        const float before = appClock::GetTime();
        Frame();
        EXPECT_NEAR(appClock::GetTime() - before, 1.0f / 30.0f, 1e-5f);
    }
    ASSERT_EQ(rideHost.captures.size(), 5u);
    EXPECT_EQ(rideHost.captures[0].shrink, 2);
    EXPECT_FLOAT_EQ(rideHost.captures[4].step, 1.0f / 30.0f);

    rideHost.unwritable = true;
    const float distance = coRideGetTrainElapsed(0);
    for (int frame = 0; frame < 3; ++frame)
        Frame();
    EXPECT_EQ(displayer.shown.size(), 1u);
    EXPECT_FALSE(ride.IsMovieCapture());
    EXPECT_GT(coRideGetTrainElapsed(0), distance);
    ride.Exit();
}

TEST_F(coRideModeTest, PerpetualRideStartsAgainWhenItStops) {
    ride.SetPerpetual(true);
    coModePush(&ride);
    Frame();
    coRideSetPaused(false);
    ASSERT_TRUE(coRideIsRunning());
    // The lap ends when the train rolls back past where it was.
    for (int frame = 0; frame < 20000 && coRideIsRunning(); ++frame) {
        time.Advance(0.5);
        appClock::Tick(1.0f);
        coRideUpdate(maVector3d());
    }
    ASSERT_FALSE(coRideIsRunning());
    Frame();
    EXPECT_TRUE(coRideIsRunning());
    ride.Exit();
}

TEST_F(coRideModeTest, TestRideScaleHasNoBoundAndEscapeLeavesAtOnce) {
    coRideSetViewCar(2);
    coModePush(&builderMode);
    coSetWorldTextured(false); // the building view
    coModePush(&testRide);
    Frame();
    EXPECT_TRUE(coIsWorldTextured());
    EXPECT_EQ(coRideGetViewCar(), 0);
    for (int release = 0; release < 2; ++release) {
        input.released.insert(coActionSlower);
        Frame();
    }
    EXPECT_FLOAT_EQ(coRideGetTimeScale(), -1.0f);
    const maVector3d standing = coRideGetLeadCar(0).frame.GetTranslation();
    Frame();
    EXPECT_EQ(coRideGetLeadCar(0).frame.GetTranslation().z, standing.z);
    input.released.insert(coActionFaster);
    Frame();
    EXPECT_FLOAT_EQ(coRideGetTimeScale(), 0.0f);

    input.released.insert(coActionEscape);
    time.Advance(1.0 / 60.0);
    coModeManagerUpdate();
    EXPECT_FALSE(input.WasReleased(coActionEscape));
    EXPECT_EQ(coCurrentMode(), &builderMode);
    EXPECT_EQ(coRideGetViewCar(), 2);
    EXPECT_FALSE(coIsWorldTextured()); // the building view again
    coSetWorldTextured(true);
}

TEST_F(coRideModeTest, TestRideHidesItsMessageOnceItsTimeIsUp) {
    host.gui = [this] { rideHost.ExpireFeedback(); };
    coModePush(&builderMode);
    coModePush(&testRide);
    Frame();
    EXPECT_EQ(rideHost.feedback, "12 for 60");
    for (int second = 0; second < 58; ++second)
        Frame(1.0);
    EXPECT_EQ(rideHost.feedback, "12 for 60");
    for (int second = 0; second < 3; ++second)
        Frame(1.0);
    EXPECT_EQ(rideHost.feedback, "");
    EXPECT_EQ(coCurrentMode(), &testRide);
}

TEST_F(coRideModeTest, FlythroughFliesItsTimeAndLeavesWithoutPoints) {
    coModeFlythrough flight;
    coModePush(&flight);
    Frame();
    EXPECT_EQ(coModeStackSize(), 0); // no path: left in the first frame

    coFlythroughPath path;
    path.AddPoint(maVector3d(0, 10, 0), maVector3d(0, 0, 50));
    path.AddPoint(maVector3d(10, 10, 0), maVector3d(0, 0, 50));
    path.AddPoint(maVector3d(20, 12, 0), maVector3d(0, 0, 50));
    path.AddPoint(maVector3d(30, 12, 0), maVector3d(0, 0, 50));
    flight.SetPath(&path);
    coModePush(&flight);
    int frames = 0;
    while (flight.GetPhase() == coModeFlythrough::Waiting && frames < 200) {
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames, 61, 1);
    frames = 0;
    while (flight.GetPhase() == coModeFlythrough::Flying && frames < 400) {
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames, 180, 1);
    // A click or Escape ends the flight and is spent: the builder beneath would read it again.
    input.released.insert(coActionMouseLeft);
    input.released.insert(coActionEscape);
    Frame();
    EXPECT_EQ(coModeStackSize(), 0);
    EXPECT_TRUE(input.released.empty());
}

} // namespace
