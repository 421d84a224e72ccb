#include "Source/Collision/coCollisionPark.h"

#include "Source/World/coPlacementGrid.h"

namespace {
const coCollisionPark* g_installed = nullptr;
}

const coCollisionPark& coGetCollisionPark() {
    static const coCollisionPark empty;
    return g_installed ? *g_installed : empty;
}

void coSetCollisionPark(const coCollisionPark* park) {
    g_installed = park;
}

float coCollisionPark::GetGridMinX() const {
    return coGetPlacementGrid().GetMinX();
}
float coCollisionPark::GetGridMaxX() const {
    return coGetPlacementGrid().GetMaxX();
}
float coCollisionPark::GetGridMinZ() const {
    return coGetPlacementGrid().GetMinZ();
}
float coCollisionPark::GetGridMaxZ() const {
    return coGetPlacementGrid().GetMaxZ();
}
bool coCollisionPark::IsBoxFree(const maBoundingBox& box) const {
    return coGetPlacementGrid().IsBoxFree(box);
}
