#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

class g3dFragment;
class geoKDTree;

// Receives every fragment's triangles as a model is read, for collision and picking.
class mayTriangleSink {
  public:
    virtual ~mayTriangleSink() = default;
    virtual void Add(g3dFragment* fragment, const maVector3d* positions, u32 vertexCount, const u16* indices,
                     u32 indexCount) = 0;
};

// Hands the triangles to a kd-tree, in the order they come; building the tree is its owner's task.
class mayTriangleSinkKDTree : public mayTriangleSink {
  public:
    explicit mayTriangleSinkKDTree(geoKDTree& tree) : m_tree(tree) {}
    void Add(g3dFragment* fragment, const maVector3d* positions, u32 vertexCount, const u16* indices,
             u32 indexCount) override;

  private:
    geoKDTree& m_tree;
};
