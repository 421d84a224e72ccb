#include "Source/Modes/coEditorSelection.h"

#include "Source/Modes/coEditorWorld.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPlacement.h"
#include "Source/World/coProp.h"

namespace {

coEditorSelection g_selection;

void FollowReplacedPiece(coCoasterPiece* old, coCoasterPiece* replacement) {
    if (g_selection.piece == old)
        coSelectionSetPiece(replacement);
}

// The selection follows the circuit's automatic completion wherever the selection is part of the
// program, without a step at start-up.
[[maybe_unused]] const bool g_followsReplacedPieces = (coSetPieceReplacedHook(&FollowReplacedPiece), true);

} // namespace

i32 coSelectionGetKind() {
    return g_selection.kind;
}

coCoasterPiece* coSelectionGetObject() {
    return g_selection.piece;
}

coProp* coSelectionGetProp() {
    return g_selection.prop;
}

coLoadingDock* coSelectionGetDock() {
    return g_selection.dock;
}

coTargetRing* coSelectionGetRing() {
    return g_selection.ring;
}

coSpotObject* coSelectionGetSpot() {
    return g_selection.spot;
}

coObject* coSelectionGetObjectBase() {
    return g_selection.object;
}

void coSelectionClear() {
    g_selection = coEditorSelection();
}

void coSelectionSetPiece(coCoasterPiece* piece) {
    coSelectionClear();
    g_selection.kind = coSelectionPiece;
    g_selection.piece = piece;
}

void coSelectionSetObject(coObject* object) {
    coSelectionClear();
    if (object == nullptr)
        return;
    const coEditorWorld::Target target = coGetEditorWorld().Classify(object);
    g_selection.kind = target.kind;
    switch (target.kind) {
    case coSelectionProp:
        g_selection.prop = target.prop;
        break;
    case coSelectionDock:
        g_selection.dock = target.dock;
        break;
    case coSelectionRing:
        g_selection.ring = target.ring;
        break;
    case coSelectionSpot:
        g_selection.spot = target.spot;
        break;
    default:
        g_selection.kind = coSelectionNone;
        return;
    }
    g_selection.object = object;
}

void coSelectionSetDock(coLoadingDock* dock, coObject* object) {
    coSelectionClear();
    g_selection.kind = coSelectionDock;
    g_selection.dock = dock;
    g_selection.object = object;
}

void coSelectionSetProp(coProp* prop) {
    coSelectionClear();
    if (prop == nullptr)
        return;
    g_selection.kind = coSelectionProp;
    g_selection.prop = prop;
    g_selection.object = prop;
}

void coSelectLoadingDock() {
    if (coLoadingDock* dock = coGetParkWorld().GetDock())
        coSelectionSetDock(dock, coGetEditorWorld().GetDockObject(dock));
    else if (coCircuitPieceCount() > 0)
        coSelectionSetPiece(coCircuitFirstPiece());
}
