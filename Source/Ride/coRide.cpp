#include "Source/Ride/coRide.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

// The visible ride steps in sub-steps of this length while more than the longest remains.
constexpr float kSubStep = 0.03f;
constexpr float kLongestStep = 0.04f;

struct coTrainSlot {
    // Whether the train has been launched: the launch distance alone cannot tell, as a train may stand
    // at any distance, 0 included.
    bool launched = false;
    // At launch the start position, afterwards the train's distance after its last frame.
    float launchDistance = 0.0f;
    float elapsed = 0.0f;
    coTrain train;
};

struct coRideState {
    std::vector<coTrainSlot> slots = std::vector<coTrainSlot>(1);
    int trainCount = 0;
    int carsPerTrain = 0;
    float timeScale = 1.0f;
    bool running = false;
    bool paused = false;
    bool carsBuilt = false;
    bool eventSoundsOn = false;
    bool screamsOn = false;
    int viewCar = 0;
    bool keyToggle = false;
};

coRideState g_ride;

coTrainSlot& Slot(int train) {
    return g_ride.slots.at(static_cast<size_t>(train));
}

// A train that has cars: before the first start the one slot's train has none.
coTrainSlot& SlotWithCars(int train) {
    coTrainSlot& slot = Slot(train);
    if (slot.train.GetCarCount() == 0)
        throw std::out_of_range("coRide: the train has no cars before the ride is started");
    return slot;
}

void StepTrain(coTrain& train, float frameTime) {
    float rest = frameTime;
    // A frame so long (a huge or infinite time scale) that a sub-step no longer shortens what is left
    // is stepped as it is rather than for ever.
    while (rest > kLongestStep && rest - kSubStep < rest) {
        train.Step(kSubStep);
        rest = rest - kSubStep;
    }
    train.Step(rest);
}

void UpdateTrain(int i, float frameTime, const maVector3d& listener) {
    coTrainSlot& slot = Slot(i);
    coTrain& train = slot.train;
    coRideAudio& audio = coGetRideAudio();
    const float initial = coGetCoasterDefinition().GetInitialPosition();

    slot.elapsed = slot.elapsed + frameTime;
    StepTrain(train, frameTime);
    const maMatrix4d& lead = train.GetCar(0).frame;
    const maVector3d p = lead.GetTranslation();
    const float d = train.GetDistance();
    const maVector3d& g = train.GetAcceleration();
    if (g_ride.eventSoundsOn)
        audio.UpdateRideEventSounds(train.GetSpeed(), g.x, g.y, d, p, listener);
    if (g_ride.screamsOn)
        audio.UpdateScreams(train.GetSpeed(), g.x, g.y, d, p, listener);

    // The next train leaves once this one has covered its share of the circuit.
    const int next = i + 1;
    if (next < g_ride.trainCount && !Slot(next).launched &&
        train.GetFraction() > 1.0f / static_cast<float>(g_ride.trainCount))
        coRideLaunchTrain(next);

    if (i == 0) {
        if (g_ride.screamsOn)
            audio.ScreamsSlope(d, lead.GetZAxis().y);
        // The lap is over when the train comes back past its start, or rolls back from where it was:
        // anywhere on the circuit, as a train that fails a climb would otherwise rock in the dip for
        // ever. Running forwards over the circuit's end lowers the distance too, so only a backward
        // roll counts away from the start.
        const bool cameRound = slot.launchDistance < initial && d >= initial;
        const bool rolledBack =
            d < slot.launchDistance && (slot.launchDistance < initial || train.GetSpeed() < 0.0f);
        if (cameRound || rolledBack) {
            if (g_ride.eventSoundsOn)
                audio.RideEventSoundsLapEnded();
            train.Setup(initial, 0.0f);
            g_ride.running = false;
        }
    }
    slot.launchDistance = d;
}

void PlaceCarObjects() {
    coRideCarScene& scene = coGetRideCarScene();
    const int objects = scene.GetCarCount();
    const float railHeight = coGetCoasterDefinition().GetRailHeight();
    for (int t = 0; t < g_ride.trainCount; ++t) {
        const coTrain& train = Slot(t).train;
        for (int c = 0; c < g_ride.carsPerTrain; ++c) {
            const int index = t * g_ride.carsPerTrain + c;
            if (index >= objects || c >= train.GetCarCount())
                return;
            const maMatrix4d& frame = train.GetCar(c).frame;
            maRotation rotation;
            rotation.SetFromMatrix3d(frame.GetRotationPart());
            scene.PlaceCar(index, frame.TransformPoint(maVector3d(0.0f, railHeight, 0.0f)), rotation);
        }
    }
}

} // namespace

void coRideStart(int carsPerTrain, bool buildCars, int trainCount) {
    g_ride.trainCount = std::max(trainCount, 0);
    // A train needs a car: gravity is shared among them and G is measured on the first.
    g_ride.carsPerTrain = std::max(carsPerTrain, 1);
    const coRideAudio& audio = coGetRideAudio();
    coRideSetEventSoundsOn(!audio.GetPrefBool(coPrefSoundEffectsOff));
    coRideSetScreamsOn(!audio.GetPrefBool(coPrefScreamsOff));

    coRideCarScene& scene = coGetRideCarScene();
    if (buildCars)
        scene.BuildCars(g_ride.trainCount, g_ride.carsPerTrain);
    scene.SetCarsVisible(buildCars);
    g_ride.carsBuilt = buildCars;
    g_ride.running = false;
    g_ride.timeScale = 1.0f;

    // One slot per train, so no train count can reach past them.
    g_ride.slots.resize(static_cast<size_t>(g_ride.trainCount));
    coCircuitTotalLength();
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    const std::vector<float> offsets = coEvenCarOffsets(g_ride.carsPerTrain, definition.GetCarSeparation());
    for (coTrainSlot& slot : g_ride.slots) {
        slot.launched = false;
        slot.launchDistance = 0.0f;
        slot.elapsed = 0.0f;
        slot.train.SetCars(g_ride.carsPerTrain, offsets.data());
        slot.train.Setup(definition.GetInitialPosition(), 0.0f);
    }
}

void coRideLaunchTrain(int train) {
    coTrainSlot& slot = SlotWithCars(train);
    const float initial = coGetCoasterDefinition().GetInitialPosition();
    g_ride.running = true;
    slot.launched = true;
    slot.launchDistance = initial;
    slot.train.Setup(initial, 0.0f);
    slot.elapsed = 0.0f;
    if (train == 0 && g_ride.eventSoundsOn)
        coGetRideAudio().RideEventSoundsLaunched(initial);
}

void coRideUpdate(const maVector3d& listener) {
    if (!g_ride.running || g_ride.paused)
        return;
    // The time scale has no bound: a scale of 0 or below (or not a number) holds the trains, never runs
    // the physics backwards.
    const float frameTime = std::max(0.0f, g_ride.timeScale * appClock::GetDeltaTime());
    const coFrozenTrack frozen;
    for (int i = 0; i < g_ride.trainCount; ++i) {
        if (Slot(i).launched)
            UpdateTrain(i, frameTime, listener);
    }
    if (g_ride.carsBuilt)
        PlaceCarObjects();
}

void coRideSetPaused(bool paused) {
    g_ride.paused = paused;
    coRideAudio& audio = coGetRideAudio();
    if (g_ride.eventSoundsOn)
        audio.PauseRideEventSounds(paused);
    if (g_ride.screamsOn)
        audio.PauseScreams(paused);
}

void coRideStop() {
    coGetRideCarScene().FreeCars();
    g_ride.carsBuilt = false;
    coRideSetEventSoundsOn(false);
    coRideSetScreamsOn(false);
}

void coRideClear() {
    coRideStop();
    g_ride = coRideState();
}

void coRideSetEventSoundsOn(bool on) {
    coRideAudio& audio = coGetRideAudio();
    if (on && !g_ride.eventSoundsOn)
        audio.LoadRideEventSounds();
    else if (!on && g_ride.eventSoundsOn)
        audio.FreeRideEventSounds();
    g_ride.eventSoundsOn = on;
}

void coRideSetScreamsOn(bool on) {
    coRideAudio& audio = coGetRideAudio();
    if (on && !g_ride.screamsOn)
        audio.LoadScreams();
    else if (!on && g_ride.screamsOn)
        audio.FreeScreams();
    g_ride.screamsOn = on;
}

bool coRideHasCars(int train) {
    return train >= 0 && static_cast<size_t>(train) < g_ride.slots.size() &&
           g_ride.slots[static_cast<size_t>(train)].train.GetCarCount() > 0;
}

const coTrainCar& coRideGetLeadCar(int train) {
    return SlotWithCars(train).train.GetCar(0);
}

coCoasterPiece* coRideGetTrainPiece(int train) {
    return coCircuitPieceAtDistance(Slot(train).train.GetDistance());
}

float coRideGetTrainElapsed(int train) {
    return Slot(train).elapsed;
}

float coRideGetTrainSpeed(int train) {
    return Slot(train).train.GetSpeed();
}

const maVector3d& coRideGetTrainAcceleration(int train) {
    return Slot(train).train.GetAcceleration();
}

const coTrainCar& coRideGetTrainViewCar(int train) {
    const coTrain& t = SlotWithCars(train).train;
    return t.GetCar(std::clamp(g_ride.viewCar, 0, t.GetCarCount() - 1));
}

bool coRideIsRunning() {
    return g_ride.running;
}

bool coRideIsPaused() {
    return g_ride.paused;
}

bool coRideGetEventSoundsOn() {
    return g_ride.eventSoundsOn;
}

bool coRideGetScreamsOn() {
    return g_ride.screamsOn;
}

void coRideSetTimeScale(float scale) {
    g_ride.timeScale = scale;
}

float coRideGetTimeScale() {
    return g_ride.timeScale;
}

void coRideSetViewCar(int car) {
    g_ride.viewCar = car;
}

int coRideGetViewCar() {
    return g_ride.viewCar;
}

bool coRideGetKeyToggle() {
    return g_ride.keyToggle;
}

void coRideSetKeyToggle(bool toggle) {
    g_ride.keyToggle = toggle;
}

int coGetCarCount() {
    return coGetRideCarScene().GetCarCount();
}

void coSetCarsVisible(bool visible) {
    coGetRideCarScene().SetCarsVisible(visible);
}
