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

// Fits delta so that current + delta stays in [minimum, maximum]; false when current already sits at
// the bound that delta pushes against.
bool ClampDelta(float current, float minimum, float maximum, float& delta);
// The largest slope magnitude of the piece's class.
float MaxSlopeFor(const coCoasterPiece& piece);
// ClampDelta of the piece's slope against +-MaxSlopeFor.
bool coSlopeWithinLimits(const coCoasterPiece& piece, float& delta);
// Without inverting pieces the resulting roll must stay within +-54 degrees; delta is not clamped.
bool coRollWithinLimits(const coCoasterPiece& piece, float delta);
