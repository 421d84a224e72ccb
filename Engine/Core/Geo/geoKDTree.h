#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maVector.h"

#include <memory>
#include <vector>

// The record of a segment query, owned by the caller, who clears `found` before the query.
struct geoKDTreeHit {
    // 0 makes the query stop at the first hit found; otherwise the nearest along the segment is kept.
    u8 findNearest = 1;
    u8 found = 0;
    // The parameter along the piece of the segment that reached the leaf (the segment is cut at every
    // split plane it crosses on the way down), not along the whole segment.
    float t = 0.0f;
    maVector3d point;
    // The triangle hit, numbered in the order added, and P = V0 + u*(V1 - V0) + v*(V2 - V0).
    u32 triangle = 0;
    float u = 0.0f;
    float v = 0.0f;
};

// A static kd-tree over a triangle soup, built once after all triangles are added, answering where a
// segment first hits the surface and which triangles lie in a box. Corners are quantised to 1e-4 on
// entry; triangles count only when crossed from their front.
class geoKDTree {
  public:
    geoKDTree();
    ~geoKDTree();
    geoKDTree(const geoKDTree&) = delete;
    geoKDTree& operator=(const geoKDTree&) = delete;

    // Appends indexCount / 3 triangles of 16-bit indices into the vertices. Triangles with an index past
    // the vertices or a corner that is not finite are skipped with a warning.
    void AddTriangles(const maVector3d* vertices, u32 vertexCount, const u16* indices, u32 indexCount);
    // Computes the bounds and builds the tree over every triangle added; nothing happens without triangles.
    void Build();
    // The box of all corners, widened by 1 on every side.
    const maBoundingBox& GetBounds() const;
    // Whether a hit was recorded into hit for the segment from -> to (t in [0, 1) of the piece tested).
    bool IntersectSegment(const maVector3d& from, const maVector3d& to, geoKDTreeHit& hit) const;
    // Empties points, then appends three corners and the unit normal of every triangle that may overlap the
    // box; a triangle stored in two leaves that the box reaches is listed twice.
    void GetTrianglesInBox(const maVector3d& boxMin, const maVector3d& boxMax,
                           std::vector<maVector3d>& points) const;
    // Deletes the tree and the triangles.
    void Clear();

    u32 GetTriangleCount() const;
    // The number of nodes and the depth of the deepest (1 for a lone leaf, 0 before building).
    u32 GetNodeCount() const;
    u32 GetDepth() const;

  private:
    struct Body;
    std::unique_ptr<Body> m_body;
};
