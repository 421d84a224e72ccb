#include "Source/Modes/coEditorWorld.h"

#include "Source/Settings/coSeam.h"
#include "Source/Track/coCoasterPiece.h"

namespace {
coEditorWorld g_default;
constinit coSeam<coEditorWorld> g_installed(g_default);
} // namespace

maBoundingBox coEditorWorld::GetPieceBox(const coCoasterPiece& piece) const {
    maBoundingBox box;
    for (int i = 0; i <= 10; ++i)
        box.AddPoint(piece.PointAt(static_cast<float>(i) / 10.0f));
    return box;
}

coEditorWorld& coGetEditorWorld() {
    return g_installed.Get();
}

void coSetEditorWorld(coEditorWorld* world) {
    g_installed.Set(world);
}
