#include "Engine/Graphics/May/mayTriangleSink.h"

#include "Engine/Core/Geo/geoKDTree.h"

void mayTriangleSinkKDTree::Add(g3dFragment*, const maVector3d* positions, u32 vertexCount,
                                const u16* indices, u32 indexCount) {
    m_tree.AddTriangles(positions, vertexCount, indices, indexCount);
}
