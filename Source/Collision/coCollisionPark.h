#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

// A placed prop or the loading dock as the collision tests see it: a model-space box and its world
// transform (rows: the local axes, then the position).
struct coOrientedBox {
    maBoundingBox local;
    maMatrix4d transform;
};

// A placed prop found near the track. Track props ride on the track and are never tested against it.
struct coCollisionProp {
    coOrientedBox box;
    bool isTrackProp = false;
};

// A target ring: centre, the direction it faces, radius and kind (a kind 0 ring counts only for track
// running against its facing direction).
struct coRingShape {
    maVector3d centre;
    maVector3d normal;
    float radius = 10.0f;
    int kind = 0;
};

// What the collision and detail registries ask of the park: the terrain's triangles and bounds, the
// placement grid, the placed props and the loading dock. The park installs its own; until then there is
// no terrain, no props and no dock, and the world is unbounded and free.
class coCollisionPark {
  public:
    virtual ~coCollisionPark() = default;

    // Empties points, then three corners and the unit normal of every terrain triangle in the box.
    virtual void TrianglesInBox(const maVector3d& /*boxMin*/, const maVector3d& /*boxMax*/,
                                std::vector<maVector3d>& points) const {
        points.clear();
    }
    // The bounds of the terrain's triangle tree; empty without terrain.
    virtual maBoundingBox GetCollisionBounds() const { return maBoundingBox(); }

    // The placement grid's bounds and answer.
    virtual float GetGridMinX() const { return -maMaxFloat; }
    virtual float GetGridMaxX() const { return maMaxFloat; }
    virtual float GetGridMinZ() const { return -maMaxFloat; }
    virtual float GetGridMaxZ() const { return maMaxFloat; }
    // True when the box lies inside the grid and no cell it covers is occupied; false for an empty or
    // NaN box.
    virtual bool IsBoxFree(const maBoundingBox& box) const {
        return box.minX <= box.maxX && box.minZ <= box.maxZ;
    }

    // Clears props, then every placed prop whose world bounds overlap the box.
    virtual void FindPropsInBox(const maBoundingBox&, std::vector<coCollisionProp>& props) const {
        props.clear();
    }
    // False without a dock; else its world box and its oriented box.
    virtual bool GetDock(maBoundingBox& /*world*/, coOrientedBox& /*box*/) const { return false; }
};

const coCollisionPark& coGetCollisionPark();
// Not owned; null restores the empty park.
void coSetCollisionPark(const coCollisionPark* park);
