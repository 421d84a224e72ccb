#include "Source/Ride/coRide.h"
#include "Engine/App/App/appClock.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Ride/coRideTestSupport.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Writes down the ride's calls to the sounds into one log; counts the updates.
class coRecordingAudio : public coRideAudio {
  public:
    bool GetPrefBool(int index) const override {
        return (index == 6 && eventSoundsOff) || (index == 36 && screamsOff);
    }
    void LoadRideEventSounds() override { log.push_back("load sounds"); }
    void FreeRideEventSounds() override { log.push_back("free sounds"); }
    void UpdateRideEventSounds(float speed, float, float, float, const maVector3d&,
                               const maVector3d& l) override {
        ++soundUpdates;
        lastSpeed = speed;
        listener = l;
    }
    void RideEventSoundsLaunched(float d) override { log.push_back("launched " + std::to_string(d)); }
    void RideEventSoundsLapEnded() override { log.push_back("lap ended"); }
    void PauseRideEventSounds(bool flag) override { log.push_back(flag ? "pause sounds" : "resume sounds"); }
    void LoadScreams() override { log.push_back("load screams"); }
    void FreeScreams() override { log.push_back("free screams"); }
    void ScreamsSlope(float, float forwardY) override { slope = forwardY; }
    void PauseScreams(bool flag) override { log.push_back(flag ? "pause screams" : "resume screams"); }

    bool eventSoundsOff = false, screamsOff = false;
    std::vector<std::string> log;
    int soundUpdates = 0;
    float lastSpeed = 0.0f, slope = 0.0f;
    maVector3d listener;
};

class coRecordingCarScene : public coRideCarScene {
  public:
    void BuildCars(int trains, int carsPerTrain) override {
        positions.assign(static_cast<size_t>(trains * carsPerTrain), maVector3d());
        rotations.assign(positions.size(), maRotation());
        ++builds;
    }
    void FreeCars() override { positions.clear(); }
    int GetCarCount() const override { return static_cast<int>(positions.size()); }
    void SetCarsVisible(bool flag) override { visible = flag; }
    void PlaceCar(int index, const maVector3d& position, const maRotation& rotation) override {
        positions.at(static_cast<size_t>(index)) = position;
        rotations.at(static_cast<size_t>(index)) = rotation;
    }

    std::vector<maVector3d> positions;
    std::vector<maRotation> rotations;
    int builds = 0;
    bool visible = false;
};

// The ride on the fake clock: each frame is handed its step through the frame clock.
class coRideTest : public coRideCircuitTest {
  protected:
    void SetUp() override {
        coRideCircuitTest::SetUp();
        plInstallServices({&time, nullptr, nullptr});
        appInitTime();
        appClock::SetTime(0.0f, 0.0f);
        coSetRideAudio(&audio);
        coSetRideCarScene(&scene);
    }
    void TearDown() override {
        coRideClear();
        coSetRideAudio(nullptr);
        coSetRideCarScene(nullptr);
        plInstallServices({});
        coRideCircuitTest::TearDown();
    }

    // One frame of exactly the given length.
    static void Frame(float seconds) {
        appClock::SetTime(0.0f, seconds);
        coRideUpdate(maVector3d(1.0f, 2.0f, 3.0f));
    }
    // A frame that took `seconds` on the clock, ticked with the clock's time scale.
    void Tick(double seconds, float scale = 1.0f) {
        time.Advance(seconds);
        appClock::Tick(scale);
        coRideUpdate(maVector3d());
    }
    // The closed R1 with the ride started and its first train launched.
    static void LaunchOnR1(int cars, bool buildCars, int trains) {
        BuildR1(true);
        coRideStart(cars, buildCars, trains);
        coRideLaunchTrain(0);
    }

    plTestTimeSource time;
    coRecordingAudio audio;
    coRecordingCarScene scene;
};

} // namespace

TEST_F(coRideTest, StartSetsTheTrainsUpAtTheStartPositionAndSwitchesTheSounds) {
    BuildR1(true);
    coRideStart(4, true, 1);
    EXPECT_EQ(audio.log, (std::vector<std::string>{"load sounds", "load screams"}));
    EXPECT_EQ(std::tuple(coGetCarCount(), scene.visible, coRideIsRunning()), std::tuple(4, true, false));
    // The lead car stands 25 along: 5 into the first Turn, the last car 12 behind it. A view car past the
    // train's end is held to its last car.
    EXPECT_EQ(coRideGetTrainPiece(0), coCircuitPieceAt(1));
    for (int car : {3, 9}) {
        coRideSetViewCar(car);
        EXPECT_NEAR(coCarPosition(coRideGetTrainViewCar(0)).z, 13.0f, 1e-4f) << car;
    }
    // Not launched: frames move nothing.
    Frame(0.04f);
    EXPECT_EQ(std::tuple(coRideGetTrainSpeed(0), audio.soundUpdates), std::tuple(0.0f, 0));

    // Restarting with the preferences set switches both off, freeing them; no cars are built.
    audio.eventSoundsOff = audio.screamsOff = true;
    audio.log.clear();
    coRideStart(4, false, 1);
    EXPECT_EQ(audio.log, (std::vector<std::string>{"free sounds", "free screams"}));
    EXPECT_EQ(std::tuple(scene.visible, scene.builds), std::tuple(false, 1));
}

TEST_F(coRideTest, FramesAreSteppedInSubStepsOfThreeHundredths) {
    AddStraight(80.0f, coElementNone, -30.0f);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);
    EXPECT_EQ(audio.log.back(), "launched 25.000000");
    // A train stepped by hand: 0.05 s as 0.03 and 0.02; 0.04 s as one step; 0.2 s in steps of 0.03 while
    // more than 0.04 s remain, then the rest.
    coTrain reference;
    SetupTrain(reference, 1, 25.0f, 0.0f);
    const struct {
        float frame;
        std::vector<float> steps;
    } frames[] = {{0.05f, {0.03f, 0.05f - 0.03f}},
                  {0.04f, {0.04f}},
                  {0.2f, {0.03f, 0.03f, 0.03f, 0.03f, 0.03f, 0.03f}}};
    for (const auto& f : frames) {
        Frame(f.frame);
        float rest = f.frame;
        for (float step : f.steps) {
            reference.Step(step);
            rest -= step;
        }
        if (f.frame == 0.2f)
            reference.Step(rest);
        EXPECT_EQ(
            std::tuple(coRideGetTrainSpeed(0), coRideGetLeadCar(0).frame.m[14],
                       coRideGetTrainAcceleration(0).z),
            std::tuple(reference.GetSpeed(), reference.GetCar(0).frame.m[14], reference.GetAcceleration().z))
            << f.frame;
    }
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 0.29f);
    // The sounds hear every frame, with the listener handed on.
    EXPECT_EQ(std::tuple(audio.soundUpdates, audio.lastSpeed, audio.listener.z),
              std::tuple(3, reference.GetSpeed(), 3.0f));
    EXPECT_FLOAT_EQ(audio.slope, -0.5f);
}

TEST_F(coRideTest, TheFrameClockLimitsAFrameToOneSecondAndScaleZeroFreezesTheRide) {
    AddStraight(200.0f, coElementBooster);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);
    // A frame that took 3 s counts as 1 s.
    Tick(3.0);
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 1.0f);
    EXPECT_NEAR(coRideGetTrainSpeed(0), 3.0f, 1e-4f);
    // Neither a clock ticked with scale 0 (a modal loop) nor the ride's own time scale 0 moves anything.
    const float distance = coRideGetLeadCar(0).frame.m[14];
    Tick(0.5, 0.0f);
    coRideSetTimeScale(0.0f);
    Tick(0.1);
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 1.0f);
    EXPECT_EQ(coRideGetLeadCar(0).frame.m[14], distance);
    // With the scale at 1 again the next frame measures from the last tick.
    coRideSetTimeScale(1.0f);
    Tick(0.1);
    EXPECT_NEAR(coRideGetTrainElapsed(0), 1.1f, 1e-4f);
    // A scale so large that a sub-step no longer shortens the frame still ends the frame.
    coRideSetTimeScale(1e9f);
    Frame(1.0f);
    EXPECT_EQ(coRideGetTrainElapsed(0), 1.1f + 1e9f);
}

TEST_F(coRideTest, ALapEndsWhenTheTrainComesRoundOrRollsBack) {
    LaunchOnR1(4, true, 1);
    int frames = 0;
    for (; coRideIsRunning() && frames < 2000; ++frames)
        Frame(0.05f);
    // A lap of 174.2 at 8 units per second, from 25 round to 25; reset there, at rest.
    EXPECT_NEAR(static_cast<float>(frames) * 0.05f, 174.221f / 8.0f, 0.1f);
    EXPECT_EQ(std::tuple(audio.log.back(), coRideGetTrainSpeed(0), coRideGetTrainPiece(0)),
              std::tuple("lap ended", 0.0f, coCircuitPieceAt(1)));

    // Rolling back: a climb from the start position.
    coCircuitClear();
    AddStraight(80.0f, coElementNone, 20.0f);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);
    Frame(0.04f);
    EXPECT_EQ(std::tuple(coRideIsRunning(), coRideGetTrainSpeed(0)), std::tuple(false, 0.0f));

    // Rolling back far from the start: down a slope and up a climb it cannot top. Left to swing, it
    // would rock between the two for ever without coming back to 25.
    coCircuitClear();
    AddStraight(60.0f, coElementNone, -10.0f);
    AddStraight(80.0f, coElementNone, 30.0f);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);
    frames = 0;
    float fastest = 0.0f;
    for (; coRideIsRunning() && frames < 2000; ++frames) {
        Frame(0.05f);
        fastest = std::max(fastest, coRideGetTrainSpeed(0));
    }
    EXPECT_GT(fastest, 5.0f);
    EXPECT_LT(frames, 200);
    EXPECT_EQ(std::tuple(audio.log.back(), coRideGetTrainSpeed(0), coRideGetTrainPiece(0)),
              std::tuple("lap ended", 0.0f, coCircuitPieceAt(0)));
}

TEST_F(coRideTest, CarObjectsFollowTheCarsAtRailHeight) {
    coRideTestDefinition definition;
    definition.railHeight = 1.5f;
    LaunchOnR1(3, true, 2);
    ASSERT_EQ(coGetCarCount(), 6);
    Frame(0.05f);
    // The first train's cars on the first Turn's level track: 1.5 above it, turned by its heading.
    maVector3d forward(0.0f, 0.0f, 1.0f);
    scene.rotations[0].Rotate(forward);
    const maMatrix4d& lead = coRideGetLeadCar(0).frame;
    ExpectVectorNear(forward, coFrameRow(lead, 2), 1e-5f);
    ExpectVectorNear(scene.positions[0], coFrameRow(lead, 3) + maVector3d(0.0f, 1.5f, 0.0f), 1e-5f);
    EXPECT_FLOAT_EQ(scene.positions[2].y, 3.5f);
    coSetCarsVisible(false);
    EXPECT_FALSE(scene.visible);
    coRideStop();
    EXPECT_EQ(std::tuple(coGetCarCount(), coRideGetEventSoundsOn(), coRideGetScreamsOn()),
              std::tuple(0, false, false));
}

TEST_F(coRideTest, TrainsLeaveOneAfterAnotherAndAsManyAsAsked) {
    LaunchOnR1(2, false, 3);
    float launchedSecondAt = -1.0f;
    for (int i = 0; i < 300 && launchedSecondAt < 0.0f; ++i) {
        Frame(0.05f);
        if (coRideGetTrainSpeed(1) > 0.0f)
            launchedSecondAt = coRideGetTrainElapsed(0);
    }
    // The second train leaves once the first has covered a third of the circuit: from 25 to 58.
    EXPECT_NEAR(launchedSecondAt, (174.221f / 3.0f - 25.0f) / 8.0f, 0.15f);
    EXPECT_EQ(coRideGetTrainSpeed(2), 0.0f);
    EXPECT_THROW(coRideGetTrainSpeed(3), std::out_of_range);
}

TEST_F(coRideTest, ATrainStartingAtZeroRunsAndPausingStopsIt) {
    coRideTestDefinition definition;
    definition.initialPosition = 0.0f;
    LaunchOnR1(4, false, 1);
    Frame(0.04f);
    EXPECT_EQ(std::tuple(coRideIsRunning(), coRideGetTrainSpeed(0)), std::tuple(true, 8.0f));
    audio.log.clear();
    coRideSetPaused(true);
    Frame(0.04f);
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 0.04f);
    coRideSetPaused(false);
    Frame(0.04f);
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 0.08f);
    EXPECT_EQ(audio.log,
              (std::vector<std::string>{"pause sounds", "pause screams", "resume sounds", "resume screams"}));
    // Switched off, the sounds hear nothing more.
    coRideSetEventSoundsOn(false);
    coRideSetScreamsOn(false);
    audio.log.clear();
    coRideSetPaused(true);
    EXPECT_TRUE(audio.log.empty());
}

// Every test clears the ride as it ends: here it has never been started.
TEST_F(coRideTest, CarsAreAskedForOnlyOnceTheRideHasStarted) {
    BuildR1(true);
    coRideSetViewCar(2);
    EXPECT_THROW(coRideGetLeadCar(0), std::out_of_range);
    EXPECT_THROW(coRideGetTrainViewCar(0), std::out_of_range);
    EXPECT_THROW(coRideLaunchTrain(0), std::out_of_range);
    Frame(0.04f);
    // The one train stands at 0, at rest.
    EXPECT_EQ(std::tuple(coRideGetTrainSpeed(0), coRideGetTrainElapsed(0)), std::tuple(0.0f, 0.0f));
    EXPECT_THROW(coRideGetTrainSpeed(1), std::out_of_range);

    // Stopped, the train keeps its cars where they stood; only the car objects are gone.
    coRideStart(4, true, 1);
    coRideLaunchTrain(0);
    Frame(0.04f);
    coRideStop();
    EXPECT_EQ(std::tuple(coGetCarCount(), coRideGetLeadCar(0).piece), std::tuple(0, coCircuitPieceAt(1)));
    EXPECT_EQ(coRideGetTrainViewCar(0).piece, coCircuitPieceAt(0)); // car 2, 8 behind the lead

    // Started with no trains, there is no train to ask for.
    coRideStart(4, false, 0);
    EXPECT_THROW(coRideGetLeadCar(0), std::out_of_range);
    EXPECT_THROW(coRideGetTrainViewCar(0), std::out_of_range);
    EXPECT_THROW(coRideGetTrainPiece(0), std::out_of_range);
    EXPECT_THROW(coRideLaunchTrain(0), std::out_of_range);
}
