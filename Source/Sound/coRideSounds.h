#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maVector.h"

#include <memory>
#include <string>

class snSoundJob2D;

// One positional sound of the ride: its job, made and destroyed through the sound manager, whether the
// ride has set it playing, and whether it is a one-shot (stopped rather than paused).
struct coRideSound {
    coRideSound(snSoundJob2D* job, bool oneShot) : job(job), oneShot(oneShot) {}
    ~coRideSound();
    coRideSound(const coRideSound&) = delete;
    coRideSound& operator=(const coRideSound&) = delete;

    snSoundJob2D* const job;
    const bool oneShot;
    bool playing = false;
};

// The folder plus the name and ".wav" as a ride sound: looping without end or not, positional within
// 200 units, in the effects category at full volume. Null, with a warning, when it cannot be loaded.
std::unique_ptr<coRideSound> coMakeRideSound(const fsLocator& folder, const char* name, bool loops,
                                             bool oneShot);

// The thirteen sounds of the current coaster type, in the order they load from its folder under root 7
// (or from its pak).
enum coRideSoundId {
    coRideSoundStart,
    coRideSoundEnd,
    coRideSoundRun,
    coRideSoundTurn,
    coRideSoundGForce,
    coRideSoundClimb,
    coRideSoundGrabChain,
    coRideSoundReleaseChain,
    coRideSoundBrakes,
    coRideSoundAccel,
    coRideSoundTube,
    coRideSoundRetarder,
    coRideSoundRetarderEnd,
    coRideSoundCount
};

// The ride's event sounds follow the lead car: rolling noise, turning and G-force by speed, and the
// sounds of the decorated piece under the train. Times are the game time.

// Frees the old sounds, then loads the thirteen; one that cannot be loaded stays silent.
void coLoadRideEventSounds();
void coFreeRideEventSounds();
// At the launch, once until the sounds end: START, CLIMB on a chain piece, and the rolling, turning and
// G-force loops at 0.2.
void coRideSoundsStart(float distance);
// Once a frame: the decorated zones under the distance, volumes and pitches from the speed and the turn
// value, and every sound moved to the position.
void coRideSoundsUpdate(float speed, float turn, float distance, const maVector3d& position);
// Pauses the playing loops and stops the playing one-shots, or resumes the loops; asking for the state
// the sounds are in already changes nothing.
void coRideSoundsSetPaused(bool paused);
// Stops every sound and plays END.
void coRideSoundsEnd();
void coSetRideSoundsPositional(bool positional);
// Null when the sound is not loaded.
const coRideSound* coGetRideSound(coRideSoundId id);

// The ride-sound set of the coaster (a folder of the themes, whose fanfare the ride plays), empty for
// none; it is saved with the coaster.
void coSelectRideSoundSet(const std::string& name);
const std::string& coGetRideSoundSet();
