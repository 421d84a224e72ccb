#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"

#include <array>
#include <memory>
#include <vector>

class coSceneObjectSet;

// One node: 8 children indexed by (x bit * 4) + (y bit * 2) + z bit, and the sets stored here.
struct coCullOctreeNode {
    std::array<std::unique_ptr<coCullOctreeNode>, 8> children;
    std::vector<coSceneObjectSet*> sets;

    bool HasChildren() const;
};

// Cell coordinates of a point in the cube: trunc(32 * (p - origin) / size) per axis, 0..32.
struct coCullCell {
    int x = 0, y = 0, z = 0;
};

// A loose octree over the park: a set lives in the deepest node (at most depth 4) whose cell holds both
// corners of its box. Each frame the culling pass marks the sets of whole subtrees outside or inside the
// view, so the scene tests only the sets of partly visible nodes. The tree does not own its sets.
class coCullOctree {
  public:
    coCullOctree() = default;
    ~coCullOctree();
    coCullOctree(const coCullOctree&) = delete;
    coCullOctree& operator=(const coCullOctree&) = delete;

    // The cube enclosing the box's bounding sphere; every node is discarded. A box that is empty or not
    // finite leaves no cube, and every insertion is refused until a good one is set.
    void SetCube(const maBoundingBox& box);
    bool HasCube() const { return m_hasCube; }
    const maVector3d& GetOrigin() const { return m_origin; }
    float GetSize() const { return m_size; }
    // False, with the point outside the cube (or not a number), or the cell coordinates.
    bool CellOf(const maVector3d& p, coCullCell& cell) const;

    // False when there is no cube or the set's box is not inside it.
    bool Insert(coSceneObjectSet* set);
    // Follows the set's box down; when the set is not found there (its box changed since it was inserted)
    // the whole tree is searched.
    void Remove(coSceneObjectSet* set);
    // Marks the sets of wholly outside nodes culled and of wholly inside nodes not culled, by the
    // view-projection matrix (row vectors).
    void Cull(const maMatrix4d& viewProjection) const;
    void Clear();

    const coCullOctreeNode* GetRoot() const { return m_root.get(); }

  private:
    void InsertAt(coCullOctreeNode& node, coSceneObjectSet* set, const coCullCell& low,
                  const coCullCell& high, int depth);
    bool RemoveAt(coCullOctreeNode& node, coSceneObjectSet* set, const coCullCell& low,
                  const coCullCell& high, int depth);

    std::unique_ptr<coCullOctreeNode> m_root;
    maVector3d m_origin;
    float m_size = 10.0f;
    bool m_hasCube = false;
};

// The child index of a cell at depth k (0 at the root): bit 4 - k of each coordinate.
int coCullChildIndex(const coCullCell& cell, int depth);
