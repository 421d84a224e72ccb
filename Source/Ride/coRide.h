#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Source/Ride/coTrain.h"

class coCoasterPiece;

// The coaster being ridden: its trains, their launch and lap rule, the frame-by-frame stepping, the ride
// sounds' switches and the visible cars. Program-wide state; the ride modes start, step, pause and stop it.

// Stores the counts, switches the event sounds and screams by their preferences, builds (or not) and
// shows or hides the cars, and sets every train up at the start position at rest, not yet launched.
void coRideStart(int carsPerTrain, bool buildCars, int trainCount);
// Sets the ride running and starts the train at the start position; std::out_of_range for a train index
// past the started trains, or before the first start.
void coRideLaunchTrain(int train);
// The frame's step of every launched train by the frame clock; listener goes to the ride sounds.
void coRideUpdate(const maVector3d& listener);
void coRideSetPaused(bool paused);
// Frees the cars and switches the event sounds and the screams off.
void coRideStop();
// Stops the ride and forgets its trains, switches and view car, as before the first start: the trains
// stand on pieces of the circuit, so a coaster that replaces the circuit clears the ride too.
void coRideClear();
// Switching on loads the sound set, switching off frees it.
void coRideSetEventSoundsOn(bool on);
void coRideSetScreamsOn(bool on);

// Train accessors; the index is checked (std::out_of_range). Before the first start the one train stands
// at 0 at rest and has no cars: the car accessors throw std::out_of_range then.
const coTrainCar& coRideGetLeadCar(int train);
// Whether the train exists and has cars, so that its car accessors answer.
bool coRideHasCars(int train);
// The piece holding the train's distance.
coCoasterPiece* coRideGetTrainPiece(int train);
float coRideGetTrainElapsed(int train);
float coRideGetTrainSpeed(int train);
const maVector3d& coRideGetTrainAcceleration(int train);
// The car the ride camera sits in, held within the train.
const coTrainCar& coRideGetTrainViewCar(int train);

bool coRideIsRunning();
bool coRideIsPaused();
bool coRideGetEventSoundsOn();
bool coRideGetScreamsOn();
void coRideSetTimeScale(float scale);
float coRideGetTimeScale();
void coRideSetViewCar(int car);
int coRideGetViewCar();
// A flag the test ride flips with a key.
bool coRideGetKeyToggle();
void coRideSetKeyToggle(bool toggle);
// The car objects of the scene.
int coGetCarCount();
void coSetCarsVisible(bool visible);
