#include "Source/Scene/coDetailSets.h"

#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Scene/coCullOctree.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coPieceLimits.h"

#include <algorithm>
#include <string>

namespace {

std::vector<coSceneObjectSet*>& Registry() {
    static std::vector<coSceneObjectSet*> sets;
    return sets;
}

coCullOctree& Octree() {
    static coCullOctree octree;
    return octree;
}

void SetCubeOverThePark() {
    const coCollisionPark& park = coGetCollisionPark();
    const maBoundingBox terrain = park.GetCollisionBounds();
    if (terrain.minY > terrain.maxY) {
        Octree().SetCube(maBoundingBox()); // no terrain: no cube
        return;
    }
    Octree().SetCube(maBoundingBox(maVector3d(park.GetGridMinX(), terrain.minY, park.GetGridMinZ()),
                                   maVector3d(park.GetGridMaxX(), GetWorldMaxHeight(), park.GetGridMaxZ())));
}

// Clearing the collision markers empties the sets and the octree too. Installed with this file: without
// it linked there are no sets to empty.
const bool g_clearHookInstalled = [] {
    coSetCollisionClearHook(coClearObjectSets);
    return true;
}();

} // namespace

void coRegisterObjectSet(coSceneObjectSet* set) {
    auto& sets = Registry();
    if (set && std::find(sets.begin(), sets.end(), set) != sets.end())
        coUnregisterObjectSet(set);
    if (sets.empty())
        SetCubeOverThePark();
    if (!set)
        return;
    sets.push_back(set);
    Octree().Insert(set);
}

void coUnregisterObjectSet(coSceneObjectSet* set) {
    auto& sets = Registry();
    sets.erase(std::remove(sets.begin(), sets.end(), set), sets.end());
    if (set)
        Octree().Remove(set);
}

void coChooseDetailByDistance(const maVector3d& camera) {
    for (coSceneObjectSet* set : Registry())
        set->ChooseGroupByDistance(camera);
}

void coChooseDetailGroup(int g) {
    for (coSceneObjectSet* set : Registry()) {
        if (set->HasObjectsIn(g))
            set->ChooseGroup(g);
    }
}

void coCullObjectSets(const maMatrix4d& viewProjection) {
    Octree().Cull(viewProjection);
    const std::string text = "CoasterPieces " + std::to_string(coCircuitPieceCount());
    g2dScreen::SetDebugLine(7, text.c_str());
}

void coCullScene(g3dCamera& camera) {
    maMatrix4d view, projection;
    camera.GetViewMatrix(view);
    camera.GetProjectionMatrix(projection);
    const maMatrix4d viewProjection = view * projection;
    coCullObjectSets(viewProjection);
    scCullObjects(viewProjection);
}

void coClearObjectSets() {
    Registry().clear();
    Octree().Clear();
}

const std::vector<coSceneObjectSet*>& coGetObjectSets() {
    return Registry();
}

const coCullOctree& coGetCullOctree() {
    return Octree();
}
