#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <memory>

class coCoasterPiece;

// How a pitch change keeps the track after it, and how the circuit is completed automatically when its
// end comes near its start; how a piece fits to its predecessor and the terrain is coPieceFitting's.
// The rules report only whether they did their work.

// The nearest piece from this one backwards that keeps its attitude; never the first piece.
coCoasterPiece* coFindAttitudeAnchor(coCoasterPiece* piece);
// The turn from the piece's end heading to the target heading, in [-pi, pi].
float coAngleToTarget(float targetHeading, const coCoasterPiece& piece);

// The steps of automatic completion, on the circuit's last pieces.
bool coFixTurnAngle(float delta);
bool coFixByDrag(const maVector3d& offset, float tolerance);
bool coFitEndToPiece(coCoasterPiece* last, coCoasterPiece* target);
// Fits the last piece to the target or, when that fails and it is a Straight or a ShallowTurn, puts an
// S-turn in its place and fits that; the piece taken out is handed over in `replaced`, so that a close
// that fails can put it back.
bool coFitOrReplaceLast(coCoasterPiece* last, coCoasterPiece* target,
                        std::unique_ptr<coCoasterPiece>& replaced);
// Told when completion puts a new piece in place of the circuit's last one, before the old one leaves
// the circuit, so that whatever points at pieces (the editor's selection) can follow. Null tells nobody.
void coSetPieceReplacedHook(void (*hook)(coCoasterPiece* old, coCoasterPiece* replacement));

// Whether the piece's end lies within 30 degrees, 8.0 up or down and 10.0 across of a pose.
bool coEndNearPose(const coCoasterPiece& piece, const maVector3d& point, float heading);
bool coCircuitEndMeetsStart();
// Bends, stretches and re-slopes the last pieces until the end meets the start, then closes the
// circuit. True when it closed; otherwise every piece is put back as it was and false.
bool coCircuitTryClose();

// The builder's pitch command: the piece takes the new slope and the track after it follows.
void coPieceChangePitch(coCoasterPiece* piece, float slope);
