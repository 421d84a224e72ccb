#include "Source/Track/coParkWorld.h"

#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"

namespace {
coParkWorld* g_installed = nullptr;
}

coParkWorld& coGetParkWorld() {
    static coParkWorld empty;
    return g_installed ? *g_installed : empty;
}

void coSetParkWorld(coParkWorld* world) {
    g_installed = world;
}

float coParkWorld::GetGridMinX() const {
    return coGetPlacementGrid().GetMinX();
}
float coParkWorld::GetGridMaxX() const {
    return coGetPlacementGrid().GetMaxX();
}
float coParkWorld::GetGridMinZ() const {
    return coGetPlacementGrid().GetMinZ();
}
float coParkWorld::GetGridMaxZ() const {
    return coGetPlacementGrid().GetMaxZ();
}

void coParkWorld::RemoveTrackPropsOnPiece(coCoasterPiece* piece) {
    coPropList::RemoveTrackPropsOnPiece(piece);
}

void coParkWorld::MoveTrackProps(coCoasterPiece* from, coCoasterPiece* to) {
    coPropList::MoveTrackProps(from, to);
}

void coParkWorld::PlaceAllTrackProps() {
    coPropList::PlaceAllTrackProps();
}
