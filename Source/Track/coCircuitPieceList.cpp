#include "Source/Track/coCircuitPieceList.h"

#include "Source/Track/coCoasterPiece.h"

std::vector<std::unique_ptr<coCoasterPiece>>& coCircuitPieces() {
    static std::vector<std::unique_ptr<coCoasterPiece>> pieces;
    return pieces;
}

coCoasterPiece* coCircuitFirstPiece() {
    auto& pieces = coCircuitPieces();
    return pieces.empty() ? nullptr : pieces.front().get();
}

coCoasterPiece* coCircuitLastPiece() {
    auto& pieces = coCircuitPieces();
    return pieces.empty() ? nullptr : pieces.back().get();
}

int coCircuitPieceCount() {
    return static_cast<int>(coCircuitPieces().size());
}

coCoasterPiece* coCircuitPieceAt(int index) {
    return coCircuitPieces()[static_cast<size_t>(index)].get();
}

int coCircuitIndexOf(const coCoasterPiece* piece) {
    auto& pieces = coCircuitPieces();
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].get() == piece)
            return static_cast<int>(i);
    }
    return -1;
}
