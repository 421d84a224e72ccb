#pragma once

class coCoasterPiece;
class coCoasterPieceCorkscrew;
class coCoasterPieceLoop;
class coCoasterPieceTurn;

// How a new piece fits to the piece before it, and how pieces keep clear of the terrain: the rules the
// circuit applies to every piece it connects. They report only whether they did their work.

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
// While suspended, coLiftClearOfTerrain leaves every piece alone: automatic closing re-places the whole
// circuit and must not lift what it has just fitted.
void coSetTerrainLiftSuspended(bool suspended);
