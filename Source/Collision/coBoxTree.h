#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maVector.h"

#include <memory>
#include <vector>

class coPickPathMesh;

// True only when all six floats compare equal.
bool coBoxEqual(const maBoundingBox& a, const maBoundingBox& b);
// The box from (min - margin) to (max + margin), rebuilt from those two points.
maBoundingBox coBoxGrow(const maBoundingBox& box, float margin);
// True when on every axis each box's maximum reaches the other's minimum: touching boxes overlap.
bool coBoxesOverlap(const maBoundingBox& a, const maBoundingBox& b);

// One node of the box tree: both children or neither, the split, and the items stored here (those that
// straddle the split, or every item of a leaf).
struct coBoxTreeNode {
    std::unique_ptr<coBoxTreeNode> upper;
    std::unique_ptr<coBoxTreeNode> lower;
    int axis = 0;
    float split = 0.0f;
    std::vector<coPickPathMesh*> items;

    bool HasChildren() const { return upper != nullptr; }
};

// An axis-split tree over the pick-path meshes of the placed pieces, keyed by their bounds, so that a new
// piece is tested only against pieces that come near it. A leaf splits at the middle of its box once it
// holds more than 4 items and its box exceeds the leaf size (50, 100, 50) on some axis. The tree does not
// own its items; an item must be removed before it is freed.
class coBoxTree {
  public:
    coBoxTree();
    ~coBoxTree();
    coBoxTree(const coBoxTree&) = delete;
    coBoxTree& operator=(const coBoxTree&) = delete;

    // A box that differs from the stored one discards every node first.
    void SetWorldBox(const maBoundingBox& box);
    void Insert(coPickPathMesh* item);
    // Follows the item's bounds down the tree; when the item is not found there (its bounds changed since
    // it was inserted) the whole tree is searched, so no stale pointer stays behind.
    void Remove(coPickPathMesh* item);
    // Clears out, then appends every item whose bounds overlap the box: deeper nodes before their
    // ancestors, upper subtrees before lower.
    void Query(const maBoundingBox& box, std::vector<coPickPathMesh*>& out) const;
    void Clear();

    const coBoxTreeNode* GetRoot() const { return m_root.get(); }

  private:
    std::unique_ptr<coBoxTreeNode> m_root;
    maVector3d m_leafSize{50.0f, 100.0f, 50.0f};
    maBoundingBox m_worldBox;
};
