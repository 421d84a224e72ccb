#pragma once
#include "Engine/Core/Ma/maVector.h"

class coCoasterPiece;
class coCoasterPieceCorkscrew;
class coCoasterPieceLoop;
class coCoasterPieceTurn;

// How a new piece fits to the piece before it, how pieces keep clear of the terrain, how a pitch
// change keeps the track after it, and how the circuit is completed automatically when its end comes
// near its start. The rules report only whether they did their work.

// Compares consecutive pieces: 0 Straight, 1 Turn with angle <= 0, 2 Turn with angle > 0,
// 3 ShallowTurn, STurn, Loop, Corkscrew and Custom, 4 HalfCorkscrew and HalfLoop, 5 Up.
int coPieceKindCode(const coCoasterPiece& piece);
// Fits a new piece to its predecessor: bank and pitch of a piece of the same kind, the shape of a
// Turn, Loop or Corkscrew before it, upside down after an inverted end, a descent after a descent.
bool coMatchToPrevious(coCoasterPiece* piece, coCoasterPiece* previous);
// Upside down at the end: |end roll| above 145 degrees, |end slope| at most 80 degrees.
bool coEndsInverted(const coCoasterPiece& piece);
// Turns a HalfCorkscrew the other way, a HalfLoop upside down, an Up piece down; false for the others.
bool coFlipPiece(coCoasterPiece* piece);
void coCopyTurnShape(coCoasterPieceTurn& piece, const coCoasterPieceTurn& previous);
void coCopyLoopShape(coCoasterPieceLoop& piece, const coCoasterPieceLoop& previous);
void coCopyCorkscrewShape(coCoasterPieceCorkscrew& piece, const coCoasterPieceCorkscrew& previous);

// Raises the piece's end until the piece clears the terrain by the definition's terrain offset;
// true when it raised it. Pieces that change their attitude are left alone.
bool coLiftClearOfTerrain(coCoasterPiece* piece);
// Re-slopes the piece so that its end lies at height y; the pieces after it are not re-placed.
bool coSetEndHeight(coCoasterPiece* piece, float y);
// The nearest piece from this one backwards that keeps its attitude; never the first piece.
coCoasterPiece* coFindAttitudeAnchor(coCoasterPiece* piece);
// The turn from the piece's end heading to the target heading, in [-pi, pi].
float coAngleToTarget(float targetHeading, const coCoasterPiece& piece);

// The steps of automatic completion, on the circuit's last pieces.
bool coFixTurnAngle(float delta);
bool coFixByDrag(const maVector3d& offset, float tolerance);
bool coFitEndToPiece(coCoasterPiece* last, coCoasterPiece* target);
bool coFitOrReplaceLast(coCoasterPiece* last, coCoasterPiece* target);

// Whether the piece's end lies within 30 degrees, 8.0 up or down and 10.0 across of a pose.
bool coEndNearPose(const coCoasterPiece& piece, const maVector3d& point, float heading);
bool coCircuitEndMeetsStart();
// Bends, stretches and re-slopes the last pieces until the end meets the start, then closes the
// circuit. True when the closing ran; whether it closed is coCircuitIsClosed.
bool coCircuitTryClose();

// The builder's pitch command: the piece takes the new slope and the track after it follows.
void coPieceChangePitch(coCoasterPiece* piece, float slope);
