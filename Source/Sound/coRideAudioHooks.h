#pragma once
#include "Source/Ride/coRideServices.h"

// The ride's sounds as the ride calls them: the event sounds and screams of the settings, and the
// preferences that switch them off. The application installs it with coSetRideAudio.
class coRideAudioHooks : public coRideAudio {
  public:
    bool GetPrefBool(int index) const override;

    void LoadRideEventSounds() override;
    void FreeRideEventSounds() override;
    void UpdateRideEventSounds(float speed, float gx, float gy, float distance, const maVector3d& lead,
                               const maVector3d& listener) override;
    void RideEventSoundsLaunched(float distance) override;
    void RideEventSoundsLapEnded() override;
    void PauseRideEventSounds(bool paused) override;

    void LoadScreams() override;
    void FreeScreams() override;
    void UpdateScreams(float speed, float gx, float gy, float distance, const maVector3d& lead,
                       const maVector3d& listener) override;
    void ScreamsSlope(float distance, float forwardY) override;
    void PauseScreams(bool paused) override;
};
