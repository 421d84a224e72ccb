#include "Source/Track/coEditorSelection.h"

namespace {
const void* g_selected = nullptr;
}

const void* coSelectionGetObject() {
    return g_selected;
}

void coSelectionClear() {
    g_selected = nullptr;
}

void coSelectionSetPiece(coCoasterPiece* piece) {
    g_selected = piece;
}
