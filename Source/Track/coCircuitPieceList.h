#pragma once
#include <memory>
#include <vector>

class coCoasterPiece;

// The program-wide list of the circuit's pieces in travel order; index 0 is the first piece.
// The list owns its pieces; only the circuit's editing operations change it (through coCircuitPieces).
std::vector<std::unique_ptr<coCoasterPiece>>& coCircuitPieces();

coCoasterPiece* coCircuitFirstPiece();
coCoasterPiece* coCircuitLastPiece();
int coCircuitPieceCount();
// The index is not tested: callers pass 0 .. count - 1.
coCoasterPiece* coCircuitPieceAt(int index);
// -1 when the piece is not in the list.
int coCircuitIndexOf(const coCoasterPiece* piece);
