#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Source/Track/coCircuitPieceList.h"

#include <memory>
#include <string>
#include <vector>

class coCoasterPiece;

// The one coaster of the program: the pieces of the circuit piece list, each placed at the end of the
// piece before it, and whether the last piece's end has been joined to the first piece's start.
// Only these operations add, remove and delete pieces.

// Total length 0, the closed flag cleared.
void coCircuitResetFlags();
// Drops every piece's scene objects and deletes the pieces; the circuit is then empty and open.
void coCircuitClear();

// Places the piece at the end of the last piece (matched to it when asked) and lifts it clear of the
// terrain; an empty circuit takes the piece where it is. A closed circuit is opened first.
void coCircuitAppend(std::unique_ptr<coCoasterPiece> piece, bool match);
// Inserts the piece after another and re-places the pieces after it. False when that would move a
// piece's start outside the world: the piece is then deleted and the rest put back.
bool coCircuitInsertAfter(std::unique_ptr<coCoasterPiece> piece, coCoasterPiece* after, bool match);
void coCircuitRemoveLast();
// Removes the last piece as coCircuitRemoveLast does, but hands it back unlinked instead of deleting it.
std::unique_ptr<coCoasterPiece> coCircuitTakeLast();
// Removes and deletes any piece; the pieces after it close up behind its predecessor. A removed first
// piece leaves its successor first, where it is.
void coCircuitRemovePiece(coCoasterPiece* piece);

// Joins the last piece to the first: the first piece, and the whole track with it, moves to the last
// piece's end; the circuit is closed when the end then meets the start within 1.0.
void coCircuitClose();
// Unlinks the last piece from the first and clears the closed flag; returns the first piece.
coCoasterPiece* coCircuitOpen();
bool coCircuitIsClosed();

// Re-places every piece after the given one at its predecessor's end. False when a re-placed piece
// starts outside the world (all of them are re-placed anyway). The piece and its neighbours are sampled
// again first (coCircuitRebuildAround), so this is the step that follows an edit of the piece.
bool coCircuitReflowFrom(coCoasterPiece* piece, bool rebuild);
// A piece's blend zones reach across its joints: after an edit that leaves the pieces after it in
// place, it and both its neighbours are sampled again.
void coCircuitRebuildAround(coCoasterPiece* piece);
// False when the end of a piece that has a successor lies outside the world.
bool coCircuitInsideWorld();
// Outside the placement grid horizontally, or above the world height; there is no lower bound.
bool coPointOutsideWorld(const maVector3d& point);
void coCircuitRebuildSupports();

// Recomputes and stores the total length.
float coCircuitTotalLength();
// The piece under a distance along the circuit, wrapped into the stored total length; a distance on
// a joint belongs to the following piece. Null on an empty circuit; the last piece when the stored
// total is not a positive finite length.
coCoasterPiece* coCircuitPieceAtDistance(float distance);

// Where a piece leaving the circuit's end could join the first piece's start.
bool coCircuitFindJoinPoint(float minimum, float maximum, maVector3d& point);
bool coCircuitJoinFits(const maVector3d& target, float targetHeading, const maVector3d& end, float endHeading,
                       float minimum, float maximum);

// Replaces the circuit with loaded pieces, chained in order; the first starts at the environment's
// start position when it was never placed. No rules, closing or scene objects.
void coCircuitRebuildFromList(std::vector<std::unique_ptr<coCoasterPiece>> pieces);

// The folder that holds the coaster's track models and textures; the circuit only stores it.
void coSetThemeName(const std::string& name);
const std::string& coGetThemeName();
