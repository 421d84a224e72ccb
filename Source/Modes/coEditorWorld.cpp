#include "Source/Modes/coEditorWorld.h"

#include "Source/Track/coCoasterPiece.h"

namespace {
coEditorWorld g_default;
coEditorWorld* g_installed = nullptr;
} // namespace

maBoundingBox coEditorWorld::GetPieceBox(const coCoasterPiece& piece) const {
    maBoundingBox box;
    for (int i = 0; i <= 10; ++i)
        box.AddPoint(piece.PointAt(static_cast<float>(i) / 10.0f));
    return box;
}

coEditorWorld& coGetEditorWorld() {
    return g_installed ? *g_installed : g_default;
}

void coSetEditorWorld(coEditorWorld* world) {
    g_installed = world;
}
