#pragma once
#include "Engine/Core/Ma/maVector.h"

struct coRideSound;

// The riders' screams: three drawn at random from "SCREAMS1" to "SCREAMS5" under root 7 when the ride
// starts, played one after another through loops and after every long descent. Times are the game time.

inline constexpr int coScreamsLoaded = 3;

// Frees the old screams, then draws and loads three; a draw whose file cannot be loaded is left out.
void coLoadScreams();
void coFreeScreams();
// Once a frame for the lead car: on a Loop a new scream follows each finished one; elsewhere a scream
// after each 2.5 s of descent steeper than -0.3 (the y of the forward axis).
void coScreamUpdate(float distance, float descent);
void coScreamsSetPosition(const maVector3d& position);
// Screams are one-shots: pausing stops them and resuming has nothing to take up.
void coScreamsSetPaused(bool paused);

int coGetScreamCount();
const coRideSound& coGetScream(int index);
