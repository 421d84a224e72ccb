#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

class g3dMaterial;
class plD3dIndexBuffer;
class plD3dVertexBuffer;

// The vertex kinds of fragments; the kind gives the stride, 24 + 8 x kind bytes.
namespace g3dVertexKind {
constexpr u8 PN = 0;   // position, normal
constexpr u8 PNT = 1;  // position, normal, one coordinate pair; or a screen vertex
constexpr u8 PNT2 = 2; // position, normal, two coordinate pairs
constexpr u8 PN4 = 3;  // position, normal, four further floats
} // namespace g3dVertexKind
// 24, 32, 40 or 48; 0 for any other kind.
u32 g3dVertexStride(u8 kind);

// The vertex layouts, as they lie in a fragment's vertices.
struct g3dVertexPN {
    maVector3d position, normal;
};
struct g3dVertexPNT {
    maVector3d position, normal;
    maVector2d uv;
};
struct g3dVertexPNT2 {
    maVector3d position, normal;
    maVector2d uv, uv2;
};
// Pre-transformed: pixels, depth and 1/w; colours packed 0xAARRGGBB.
struct g3dScreenVertex {
    f32 x, y, z, rhw;
    u32 diffuse, specular;
    maVector2d uv;
};

// One indexed triangle list (or line list) ready for the device: vertex and index buffers, the system
// copies they are made from again after a reset, the materials that split the indices into ranges and
// the bounding box. Made, listed and destroyed by g3dFragmentManager; whoever made one destroys it.
class g3dFragment {
  public:
    // The materials of the ranges, not owned; 0 when there are none.
    u32 GetMaterialCount() const { return static_cast<u32>(m_materials.size()); }
    g3dMaterial* GetMaterial(u32 index) const { return m_materials[index]; }
    // Replaces entry index, growing the list with null entries when it is shorter.
    void SetMaterial(g3dMaterial* material, u32 index);
    // The indices of material k's range: from the start of the range to the start of the next, the
    // last to the end of the indices.
    u32 GetRangeStartIndex(u32 k) const;
    // The ranges that can be drawn: one per material, at most one more than the range starts given.
    u32 GetRangeCount() const;
    u32 GetRangeEndIndex(u32 k) const;

    u16 GetVertexCount() const { return m_vertexCount; }
    u16 GetIndexCount() const { return m_indexCount; }
    u8 GetVertexKind() const { return m_kind; }
    u32 GetFVF() const { return m_fvf; }
    bool IsDynamic() const { return m_dynamic; }
    // 1 triangle list, 2 line list.
    u32 GetPrimitive() const { return m_primitive; }
    // The box of the positions of a static fragment; empty for dynamic and screen fragments.
    maBoundingBox GetBoundingBox() const { return m_box; }

    // The system copy, for reading and editing in place; CommitVertices sends it to the device.
    u8* GetVertices() { return m_vertices.data(); }
    const u8* GetVertices() const { return m_vertices.data(); }
    const u16* GetIndices() const { return m_indices.data(); }
    void CommitVertices();
    // Positions and normals of vertices first to first + count - 1 from positions[first + i] and
    // normals[first + i]; the other fields stay. Then commits. A range past the vertices is refused
    // with a warning.
    void SetPositionsNormals(u32 first, u32 count, const maVector3d* positions, const maVector3d* normals);

    // Null between a device loss and the rebuild, or when the device refused them.
    plD3dVertexBuffer* GetVertexBuffer() const { return m_vertexBuffer; }
    plD3dIndexBuffer* GetIndexBuffer() const { return m_indexBuffer; }
    // The next older live fragment (g3dFragmentManager::GetFirstFragment).
    g3dFragment* GetNext() const { return m_next; }

  private:
    friend class g3dFragmentManagerPAC;
    g3dFragment() = default;
    ~g3dFragment() = default;

    plD3dVertexBuffer* m_vertexBuffer = nullptr;
    std::vector<u8> m_vertices;
    plD3dIndexBuffer* m_indexBuffer = nullptr;
    std::vector<u16> m_indices;
    std::vector<g3dMaterial*> m_materials;
    // Entry k: the first triangle of material k + 1.
    std::vector<u16> m_rangeStarts;
    u16 m_vertexCount = 0;
    u16 m_indexCount = 0;
    u32 m_fvf = 0;
    u8 m_kind = 0;
    bool m_dynamic = false;
    u32 m_primitive = 1;
    maBoundingBox m_box;
    g3dFragment* m_next = nullptr;
    g3dFragment* m_previous = nullptr;
};
