#pragma once

class coCoasterPiece;

// The editor's selection as the track rules see it. The builder keeps the full record (pieces,
// props, rings); the rules only compare it with a piece and move it to a replacing piece.

// The selected editor object, compared by identity; null when nothing is selected.
const void* coSelectionGetObject();
void coSelectionClear();
// Makes the piece the selection and clears the other selection slots.
void coSelectionSetPiece(coCoasterPiece* piece);
