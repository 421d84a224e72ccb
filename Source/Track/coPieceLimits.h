#pragma once

class coCoasterPiece;

// Bounds of the piece classes' parameters (angles in radians), the world height, and the slope and
// roll checks of the editor.

float GetStraightLengthMin(); // shared by the Straight, ShallowTurn and STurn
float GetStraightLengthMax();
float GetTurnAngleMin();
float GetTurnAngleMax();
float GetTurnRadiusMin();
float GetTurnRadiusMax();
float GetShallowTurnAngleMin();
float GetShallowTurnAngleMax();
float GetSTurnOffsetMin();
float GetSTurnOffsetMax();
float GetUpLengthMin();
float GetUpLengthMax();
float GetLoopLengthMin();
float GetLoopLengthMax();
float GetLoopHeightMin();
float GetLoopHeightMax();
float GetHalfLoopRatioMin();
float GetHalfLoopRatioMax();
float GetHalfLoopHeightMin();
float GetHalfLoopHeightMax();
float GetCorkscrewLengthMin();
float GetCorkscrewLengthMax();
float GetCorkscrewRadiusMin();
float GetCorkscrewRadiusMax();
float GetHalfCorkscrewRadiusMin();
float GetHalfCorkscrewRadiusMax();
float GetHalfCorkscrewAngleMin();
float GetHalfCorkscrewAngleMax();

// No piece point may lie above this height.
float GetWorldMaxHeight();

// The parameter operations of the piece classes.
// Moves value by delta within [minimum, maximum]; true when it changed.
bool coStepWithin(float& value, float delta, float minimum, float maximum);
// A signed angle whose magnitude moves by delta within [minimum, maximum]; the sign is kept, and an angle
// of 0 steps as a negative one.
float coStepMagnitude(float angle, float delta, float minimum, float maximum);
// The value at fraction t (clamped to [0, 1]) of [minimum, maximum], and the fraction a value stands at.
float coFromNormalised(float t, float minimum, float maximum);
float coToNormalised(float value, float minimum, float maximum);
// The magnitude at fraction t (clamped) with the sign of angle, 0 counting as negative.
float coSignedFromNormalised(float angle, float t, float minimum, float maximum);

// Fits delta so that current + delta stays in [minimum, maximum]; false when current already sits at
// the bound that delta pushes against.
bool ClampDelta(float current, float minimum, float maximum, float& delta);
// The largest slope magnitude of the piece's class.
float MaxSlopeFor(const coCoasterPiece& piece);
// ClampDelta of the piece's slope against +-MaxSlopeFor.
bool coSlopeWithinLimits(const coCoasterPiece& piece, float& delta);
// Without inverting pieces the resulting roll must stay within +-54 degrees; delta is not clamped.
bool coRollWithinLimits(const coCoasterPiece& piece, float delta);
