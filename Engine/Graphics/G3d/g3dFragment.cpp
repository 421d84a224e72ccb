#include "Engine/Graphics/G3d/g3dFragment.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G3d/private/g3dFragmentManagerPAC.h"

#include <algorithm>
#include <cstring>

u32 g3dVertexStride(u8 kind) {
    return kind <= g3dVertexKind::PN4 ? 24u + 8u * kind : 0u;
}

void g3dFragment::SetMaterial(g3dMaterial* material, u32 index) {
    if (index >= m_materials.size())
        m_materials.resize(static_cast<size_t>(index) + 1, nullptr);
    m_materials[index] = material;
}

u32 g3dFragment::GetRangeStartIndex(u32 k) const {
    // Materials added past the range starts (SetMaterial) have empty ranges at the end.
    return k == 0 ? 0u : k <= m_rangeStarts.size() ? 3u * m_rangeStarts[k - 1] : m_indexCount;
}

u32 g3dFragment::GetRangeCount() const {
    return static_cast<u32>(std::min(m_materials.size(), m_rangeStarts.size() + 1));
}

u32 g3dFragment::GetRangeEndIndex(u32 k) const {
    return k + 1 < m_materials.size() && k < m_rangeStarts.size() ? 3u * m_rangeStarts[k] : m_indexCount;
}

void g3dFragment::CommitVertices() {
    g3dFragmentManagerPAC::CommitVertices(*this);
}

void g3dFragment::SetPositionsNormals(u32 first, u32 count, const maVector3d* positions,
                                      const maVector3d* normals) {
    if (u64{first} + count > m_vertexCount) {
        DBG_WARNING("Vertices %u to %u of a fragment of %u set; nothing changed", first, first + count - 1,
                    m_vertexCount);
        return;
    }
    const u32 stride = g3dVertexStride(m_kind);
    for (u32 i = first; i < first + count; ++i) {
        u8* vertex = m_vertices.data() + static_cast<size_t>(i) * stride;
        std::memcpy(vertex, &positions[i], sizeof(maVector3d));
        std::memcpy(vertex + sizeof(maVector3d), &normals[i], sizeof(maVector3d));
    }
    CommitVertices();
}
