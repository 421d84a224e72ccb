#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

class coProp;

// What the ride needs of the settings and audio: two bool preferences and the hooks of the ride event
// sounds and the riders' screams. The audio installs its implementation; until then every preference is
// off and the ride is silent.
class coRideAudio {
  public:
    virtual ~coRideAudio() = default;

    // A bool preference by index (coPrefSoundEffectsOff, coPrefScreamsOff).
    virtual bool GetPrefBool(int) const { return false; }

    virtual void LoadRideEventSounds() {}
    virtual void FreeRideEventSounds() {}
    // Speed, lateral and vertical G, the train's distance, the lead car's position and the listener's.
    virtual void UpdateRideEventSounds(float, float, float, float, const maVector3d&, const maVector3d&) {}
    virtual void RideEventSoundsLaunched(float) {}
    virtual void RideEventSoundsLapEnded() {}
    virtual void PauseRideEventSounds(bool) {}

    virtual void LoadScreams() {}
    virtual void FreeScreams() {}
    // The same values as the event sounds get.
    virtual void UpdateScreams(float, float, float, float, const maVector3d&, const maVector3d&) {}
    // The train's distance and the y of the lead car's forward axis.
    virtual void ScreamsSlope(float, float) {}
    virtual void PauseScreams(bool) {}
};

// The visible train cars: one scene object per car (with its model, flames and the cavern headlight),
// all trains' cars in order. The scene installs its implementation; until then no car is built.
class coRideCarScene {
  public:
    virtual ~coRideCarScene() = default;

    // Frees any old cars, then builds trainCount x carsPerTrain car objects: each train's lead car, then
    // its followers.
    virtual void BuildCars(int, int) {}
    virtual void FreeCars() {}
    virtual int GetCarCount() const { return 0; }
    virtual void SetCarsVisible(bool) {}
    // Car object index: its position and rotation in the world.
    virtual void PlaceCar(int, const maVector3d&, const maRotation&) {}
};

// The placed props, as the statistics run measures the train's passes near them. The park installs its
// implementation; until then there are none. The ride never looks inside a prop.
class coRideProps {
  public:
    virtual ~coRideProps() = default;

    // Every placed prop, into a cleared list.
    virtual void CollectAll(std::vector<const coProp*>& props) const { props.clear(); }
    // How near the track must come for the prop to count as passed.
    virtual float GetProximityRadius(const coProp*) const { return 0.0f; }
    // The prop object's world box.
    virtual maBoundingBox GetBounds(const coProp*) const { return maBoundingBox(); }
    // Set on the props whose order of passing an objective checks.
    virtual bool GetOrderingFlag(const coProp*) const { return false; }
};

// Not owned; null restores the silent, carless, propless defaults.
void coSetRideAudio(coRideAudio* audio);
coRideAudio& coGetRideAudio();
void coSetRideCarScene(coRideCarScene* scene);
coRideCarScene& coGetRideCarScene();
void coSetRideProps(const coRideProps* props);
const coRideProps& coGetRideProps();
