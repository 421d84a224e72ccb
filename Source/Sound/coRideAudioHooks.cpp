#include "Source/Sound/coRideAudioHooks.h"

#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Sound/coScreams.h"

bool coRideAudioHooks::GetPrefBool(int index) const {
    return coPrefs::GetBool(index);
}

void coRideAudioHooks::LoadRideEventSounds() {
    coLoadRideEventSounds();
}

void coRideAudioHooks::FreeRideEventSounds() {
    coFreeRideEventSounds();
}

// The turn value is the lateral G; the listener is the mode's to place.
void coRideAudioHooks::UpdateRideEventSounds(float speed, float gx, float, float distance,
                                             const maVector3d& lead, const maVector3d&) {
    coRideSoundsUpdate(speed, gx, distance, lead);
}

void coRideAudioHooks::RideEventSoundsLaunched(float distance) {
    coRideSoundsStart(distance);
}

void coRideAudioHooks::RideEventSoundsLapEnded() {
    coRideSoundsEnd();
}

void coRideAudioHooks::PauseRideEventSounds(bool paused) {
    coRideSoundsSetPaused(paused);
}

void coRideAudioHooks::LoadScreams() {
    coLoadScreams();
}

void coRideAudioHooks::FreeScreams() {
    coFreeScreams();
}

void coRideAudioHooks::UpdateScreams(float, float, float, float, const maVector3d& lead, const maVector3d&) {
    coScreamsSetPosition(lead);
}

void coRideAudioHooks::ScreamsSlope(float distance, float forwardY) {
    coScreamUpdate(distance, forwardY);
}

void coRideAudioHooks::PauseScreams(bool paused) {
    coScreamsSetPaused(paused);
}
