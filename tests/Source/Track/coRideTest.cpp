#include "Source/Track/coRide.h"
#include "Engine/App/App/appClock.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTimeSource.h"
#include "Source/Track/coRideServices.h"
#include "coRideTestSupport.h"

#include <string>
#include <vector>

namespace {

// Writes down every call of the ride into one log.
class coRecordingAudio : public coRideAudio {
  public:
    bool GetPrefBool(int index) const override {
        return (index == 6 && eventSoundsOff) || (index == 36 && screamsOff);
    }
    void LoadRideEventSounds() override { log.push_back("load sounds"); }
    void FreeRideEventSounds() override { log.push_back("free sounds"); }
    void UpdateRideEventSounds(float speed, float, float, float d, const maVector3d&,
                               const maVector3d& l) override {
        ++soundUpdates;
        lastSpeed = speed;
        lastDistance = d;
        listener = l;
    }
    void RideEventSoundsLaunched(float d) override { log.push_back("launched " + std::to_string(d)); }
    void RideEventSoundsLapEnded() override { log.push_back("lap ended"); }
    void PauseRideEventSounds(bool flag) override { log.push_back(flag ? "pause sounds" : "resume sounds"); }
    void LoadScreams() override { log.push_back("load screams"); }
    void FreeScreams() override { log.push_back("free screams"); }
    void UpdateScreams(float, float, float, float, const maVector3d&, const maVector3d&) override {
        ++screamUpdates;
    }
    void ScreamsSlope(float, float forwardY) override { slope = forwardY; }
    void PauseScreams(bool flag) override { log.push_back(flag ? "pause screams" : "resume screams"); }

    bool eventSoundsOff = false;
    bool screamsOff = false;
    std::vector<std::string> log;
    int soundUpdates = 0;
    int screamUpdates = 0;
    float lastSpeed = 0.0f;
    float lastDistance = 0.0f;
    float slope = 0.0f;
    maVector3d listener;
};

class coRecordingCarScene : public coRideCarScene {
  public:
    void BuildCars(int trains, int carsPerTrain) override {
        positions.assign(static_cast<size_t>(trains * carsPerTrain), maVector3d());
        rotations.assign(positions.size(), maRotation());
        ++builds;
    }
    void FreeCars() override {
        positions.clear();
        rotations.clear();
    }
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
        coRideStop();
        coRideSetPaused(false);
        coRideSetViewCar(0);
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

    plTestTimeSource time;
    coRecordingAudio audio;
    coRecordingCarScene scene;
};

// A train stepped by hand, as the ride should step its own.
coTrain ReferenceTrain(int cars, float distance) {
    coTrain train;
    coRideCircuitTest::SetupTrain(train, cars, distance, 0.0f);
    return train;
}

void ExpectSameTrain(const coTrain& reference) {
    EXPECT_EQ(coRideGetTrainSpeed(0), reference.GetSpeed());
    EXPECT_EQ(coRideGetLeadCar(0).frame.m[14], reference.GetCar(0).frame.m[14]);
    const maVector3d& a = coRideGetTrainAcceleration(0);
    EXPECT_EQ(a.z, reference.GetAcceleration().z);
}

} // namespace

TEST_F(coRideTest, StartSetsTheTrainsUpAtTheStartPositionAndSwitchesTheSounds) {
    BuildR1(true);
    coRideStart(4, true, 1);
    EXPECT_EQ(audio.log, (std::vector<std::string>{"load sounds", "load screams"}));
    EXPECT_TRUE(coRideGetEventSoundsOn());
    EXPECT_TRUE(coRideGetScreamsOn());
    EXPECT_EQ(coGetCarCount(), 4);
    EXPECT_TRUE(scene.visible);
    EXPECT_FALSE(coRideIsRunning());
    EXPECT_EQ(coRideGetTimeScale(), 1.0f);
    // The lead car stands 25 along: 5 into the first Turn, the last car 12 behind it.
    EXPECT_EQ(coRideGetLeadCar(0).piece, coCircuitPieceAt(1));
    EXPECT_EQ(coRideGetTrainPiece(0), coCircuitPieceAt(1));
    coRideSetViewCar(3);
    EXPECT_NEAR(coCarPosition(coRideGetTrainViewCar(0)).z, 13.0f, 1e-4f);
    // A view car past the train's end is held to its last car.
    coRideSetViewCar(9);
    EXPECT_NEAR(coCarPosition(coRideGetTrainViewCar(0)).z, 13.0f, 1e-4f);

    // Not launched: frames move nothing.
    Frame(0.04f);
    EXPECT_EQ(coRideGetTrainSpeed(0), 0.0f);
    EXPECT_EQ(audio.soundUpdates, 0);

    // Restarting with the preferences set switches both off, freeing them; no cars are built.
    audio.eventSoundsOff = audio.screamsOff = true;
    audio.log.clear();
    coRideStart(4, false, 1);
    EXPECT_EQ(audio.log, (std::vector<std::string>{"free sounds", "free screams"}));
    EXPECT_FALSE(scene.visible);
    EXPECT_EQ(scene.builds, 1);
}

TEST_F(coRideTest, FramesAreSteppedInSubStepsOfThreeHundredths) {
    AddStraight(80.0f, coElementNone, -30.0f);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);
    EXPECT_EQ(audio.log.back(), "launched 25.000000");

    // 0.05 s: 0.03 and then 0.02.
    coTrain reference = ReferenceTrain(1, 25.0f);
    Frame(0.05f);
    reference.Step(0.03f);
    reference.Step(0.05f - 0.03f);
    ExpectSameTrain(reference);
    coTrain whole = ReferenceTrain(1, 25.0f);
    whole.Step(0.05f);
    EXPECT_NE(coRideGetLeadCar(0).frame.m[14], whole.GetCar(0).frame.m[14]);

    // 0.04 s: one step.
    Frame(0.04f);
    reference.Step(0.04f);
    ExpectSameTrain(reference);

    // 0.2 s: 0.03 s steps while more than 0.04 s remain, then the rest.
    Frame(0.2f);
    float rest = 0.2f;
    for (int i = 0; i < 6; ++i) {
        reference.Step(0.03f);
        rest -= 0.03f;
    }
    EXPECT_LE(rest, 0.04f);
    reference.Step(rest);
    ExpectSameTrain(reference);
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 0.29f);

    // The sounds hear every frame, with the listener handed on.
    EXPECT_EQ(audio.soundUpdates, 3);
    EXPECT_EQ(audio.screamUpdates, 3);
    EXPECT_EQ(audio.lastSpeed, reference.GetSpeed());
    EXPECT_EQ(audio.listener.z, 3.0f);
    EXPECT_FLOAT_EQ(audio.slope, -0.5f);
}

TEST_F(coRideTest, TheFrameClockLimitsAFrameToOneSecondAndScaleZeroFreezesTheRide) {
    AddStraight(200.0f, coElementBooster);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);

    // A frame that took 3 s counts as 1 s.
    time.Advance(3.0);
    appClock::Tick(1.0f);
    coRideUpdate(maVector3d());
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 1.0f);
    EXPECT_NEAR(coRideGetTrainSpeed(0), 3.0f, 1e-4f);

    // A clock ticked with scale 0 (a modal loop) moves nothing.
    const float distance = coRideGetLeadCar(0).frame.m[14];
    time.Advance(0.5);
    appClock::Tick(0.0f);
    coRideUpdate(maVector3d());
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 1.0f);
    EXPECT_EQ(coRideGetLeadCar(0).frame.m[14], distance);

    // Nor does the ride's own time scale 0.
    coRideSetTimeScale(0.0f);
    time.Advance(0.1);
    appClock::Tick(1.0f);
    coRideUpdate(maVector3d());
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 1.0f);
    EXPECT_EQ(coRideGetLeadCar(0).frame.m[14], distance);
    // With the scale at 1 again the next frame measures from the last tick.
    coRideSetTimeScale(1.0f);
    time.Advance(0.1);
    appClock::Tick(1.0f);
    coRideUpdate(maVector3d());
    EXPECT_NEAR(coRideGetTrainElapsed(0), 1.1f, 1e-4f);

    // A scale so large that a sub-step no longer shortens the frame still ends the frame.
    coRideSetTimeScale(1e9f);
    Frame(1.0f);
    EXPECT_EQ(coRideGetTrainElapsed(0), 1.1f + 1e9f);
}

TEST_F(coRideTest, ALapEndsWhenTheTrainComesRoundOrRollsBack) {
    BuildR1(true);
    coRideStart(4, true, 1);
    coRideLaunchTrain(0);
    int frames = 0;
    while (coRideIsRunning() && frames < 2000) {
        Frame(0.05f);
        ++frames;
    }
    // A lap of 174.2 at 8 units per second, from 25 round to 25.
    EXPECT_NEAR(static_cast<float>(frames) * 0.05f, 174.221f / 8.0f, 0.1f);
    EXPECT_EQ(audio.log.back(), "lap ended");
    // Reset at the start position, at rest; the cars are placed where the train stands.
    EXPECT_EQ(coRideGetTrainSpeed(0), 0.0f);
    EXPECT_EQ(coRideGetTrainPiece(0), coCircuitPieceAt(1));

    // Rolling back: a climb from the start position.
    coCircuitClear();
    AddStraight(80.0f, coElementNone, 20.0f);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);
    Frame(0.04f);
    EXPECT_TRUE(coRideIsRunning());
    Frame(0.04f);
    EXPECT_FALSE(coRideIsRunning());
    EXPECT_EQ(coRideGetTrainSpeed(0), 0.0f);
}

TEST_F(coRideTest, CarObjectsFollowTheCarsAtRailHeight) {
    BuildR1(true);
    coRideTestDefinition definition;
    definition.railHeight = 1.5f;
    coRideStart(3, true, 2);
    ASSERT_EQ(coGetCarCount(), 6);
    coRideLaunchTrain(0);
    Frame(0.05f);
    // The first train's cars on the first Turn's level track: 1.5 above it, turned by its heading.
    for (int c = 0; c < 3; ++c)
        EXPECT_FLOAT_EQ(scene.positions[static_cast<size_t>(c)].y, 3.5f);
    maVector3d forward(0.0f, 0.0f, 1.0f);
    scene.rotations[0].Rotate(forward);
    const maMatrix4d& lead = coRideGetLeadCar(0).frame;
    ExpectVectorNear(forward, maVector3d(lead.m[8], lead.m[9], lead.m[10]), 1e-5f);
    ExpectVectorNear(scene.positions[0], maVector3d(lead.m[12], lead.m[13] + 1.5f, lead.m[14]), 1e-5f);

    coSetCarsVisible(false);
    EXPECT_FALSE(scene.visible);
    coRideStop();
    EXPECT_EQ(coGetCarCount(), 0);
    EXPECT_FALSE(coRideGetEventSoundsOn());
    EXPECT_FALSE(coRideGetScreamsOn());
}

TEST_F(coRideTest, TrainsLeaveOneAfterAnotherAndAsManyAsAsked) {
    BuildR1(true);
    coRideStart(2, false, 3);
    coRideLaunchTrain(0);
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

TEST_F(coRideTest, ATrainStartingAtZeroRuns) {
    BuildR1(true);
    coRideTestDefinition definition;
    definition.initialPosition = 0.0f;
    coRideStart(4, false, 1);
    coRideLaunchTrain(0);
    Frame(0.04f);
    EXPECT_TRUE(coRideIsRunning());
    EXPECT_EQ(coRideGetTrainSpeed(0), 8.0f);
    EXPECT_GT(coRideGetTrainElapsed(0), 0.0f);
    Frame(0.04f);
    EXPECT_FLOAT_EQ(coRideGetTrainElapsed(0), 0.08f);
}

TEST_F(coRideTest, PausingStopsTheStepsAndThePauseReachesTheSounds) {
    BuildR1(true);
    coRideStart(4, false, 1);
    coRideLaunchTrain(0);
    Frame(0.04f);
    audio.log.clear();
    coRideSetPaused(true);
    EXPECT_TRUE(coRideIsPaused());
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

// Runs in its own process, as every test does: the ride has never been started.
TEST_F(coRideTest, CarsAreAskedForOnlyOnceTheRideHasStarted) {
    BuildR1(true);
    coRideSetViewCar(2);
    EXPECT_THROW(coRideGetLeadCar(0), std::out_of_range);
    EXPECT_THROW(coRideGetTrainViewCar(0), std::out_of_range);
    EXPECT_THROW(coRideLaunchTrain(0), std::out_of_range);
    EXPECT_FALSE(coRideIsRunning());
    Frame(0.04f);
    // The one train stands at 0, at rest.
    EXPECT_EQ(coRideGetTrainSpeed(0), 0.0f);
    EXPECT_EQ(coRideGetTrainElapsed(0), 0.0f);
    EXPECT_EQ(coRideGetTrainAcceleration(0).z, 0.0f);
    EXPECT_THROW(coRideGetTrainSpeed(1), std::out_of_range);

    // Stopped, the train keeps its cars where they stood; only the car objects are gone.
    coRideStart(4, true, 1);
    coRideLaunchTrain(0);
    Frame(0.04f);
    coRideStop();
    EXPECT_EQ(coGetCarCount(), 0);
    EXPECT_EQ(coRideGetLeadCar(0).piece, coCircuitPieceAt(1));
    EXPECT_EQ(coRideGetTrainViewCar(0).piece, coCircuitPieceAt(0)); // car 2, 8 behind the lead

    // Started with no trains, there is no train to ask for.
    coRideStart(4, false, 0);
    EXPECT_THROW(coRideGetLeadCar(0), std::out_of_range);
    EXPECT_THROW(coRideGetTrainViewCar(0), std::out_of_range);
    EXPECT_THROW(coRideGetTrainPiece(0), std::out_of_range);
    EXPECT_THROW(coRideLaunchTrain(0), std::out_of_range);
}
