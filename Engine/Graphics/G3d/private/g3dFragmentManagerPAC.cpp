#include "Engine/Graphics/G3d/private/g3dFragmentManagerPAC.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/Sc/scBlockPool.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr u32 kMaxCount = 0xFFFF;

g3dFragment* g_head = nullptr;

// One record a block, 64 blocks a chunk; records go back to the free list when destroyed.
static_assert(alignof(g3dFragment) <= alignof(void*));
struct FragmentPool : scBlockPool {
    FragmentPool() { Init(sizeof(g3dFragment), 64); }
};

scBlockPool& Pool() {
    static FragmentPool pool;
    return pool;
}

void Report(plD3dResult result) {
    if (plD3dFailed(result))
        g2dReportDXError(result);
}

// A whole-buffer lock, the bytes copied in, the unlock; failures reported.
void Upload(plD3dBuffer& buffer, const void* bytes, u32 size, u32 flags) {
    u8* data = nullptr;
    const plD3dResult locked = buffer.Lock(0, 0, &data, flags);
    Report(locked);
    if (plD3dFailed(locked))
        return;
    std::memcpy(data, bytes, size);
    Report(buffer.Unlock());
}

// Component x 255 truncated, clamped to a byte.
u32 PackByte(float component) {
    return static_cast<u32>(std::clamp(component * 255.0f, 0.0f, 255.0f));
}

u32 PackColor(const g3dARGBColor& color) {
    return PackByte(color.a) << 24 | PackByte(color.r) << 16 | PackByte(color.g) << 8 | PackByte(color.b);
}

class g3dVBufferReloader : public g2dD3DResetHandler {
  public:
    void OnDeviceLost() override { g3dFragmentManagerPAC::ReleaseAllBuffers(); }
    void OnDeviceReset() override { g3dFragmentManagerPAC::RemakeAllBuffers(); }
};

} // namespace

void g3dFragmentManagerPAC::Initialize() {
    g2dRegisterResetHandler(std::make_unique<g3dVBufferReloader>());
}

bool g3dFragmentManagerPAC::IsValid(const g3dFragmentSource& source) {
    // The counts and every index are 16-bit: more would wrap round and tangle the geometry.
    if (source.vertexCount > kMaxCount || source.indexCount > kMaxCount) {
        DBG_WARNING("A fragment of %u vertices and %u indices is past the 65535 that 16 bits hold; none made",
                    source.vertexCount, source.indexCount);
        return false;
    }
    for (u32 i = 0; i < source.indexCount; ++i)
        if (source.indices[i] >= source.vertexCount) {
            DBG_WARNING("Index %u of a fragment names vertex %u of %u; none made", i, source.indices[i],
                        source.vertexCount);
            return false;
        }
    if (source.materialCount > 1 && !source.rangeStarts) {
        DBG_WARNING("A fragment of %u materials without range starts; none made", source.materialCount);
        return false;
    }
    u32 previous = 0;
    for (u32 i = 0; i + 1 < source.materialCount; ++i) {
        const u32 start = source.rangeStarts[i];
        if (start < previous || u64{start} * 3 > source.indexCount) {
            DBG_WARNING(
                "Range start %u of a fragment of %u indices decreases or passes the triangles; none made",
                start, source.indexCount);
            return false;
        }
        previous = start;
    }
    return true;
}

g3dFragment* g3dFragmentManagerPAC::Create(u8 kind, u32 fvf, u32 primitive, const g3dFragmentSource& source) {
    if (!IsValid(source))
        return nullptr;
    void* block = Pool().Alloc();
    if (!block) {
        DBG_WARNING("No memory for another fragment record; none made");
        return nullptr;
    }
    auto* fragment = new (block) g3dFragment();
    fragment->m_kind = kind;
    fragment->m_fvf = fvf;
    fragment->m_primitive = primitive;
    fragment->m_dynamic = source.dynamic;
    fragment->m_vertexCount = static_cast<u16>(source.vertexCount);
    fragment->m_indexCount = static_cast<u16>(source.indexCount);
    FillVertices(*fragment, source);
    fragment->m_indices.assign(source.indices, source.indices + source.indexCount);
    MakeBuffers(*fragment, true);

    fragment->m_next = g_head;
    if (g_head)
        g_head->m_previous = fragment;
    g_head = fragment;

    fragment->m_materials.assign(source.materials, source.materials + source.materialCount);
    for (u32 i = 1; i < source.materialCount; ++i)
        fragment->m_rangeStarts.push_back(static_cast<u16>(source.rangeStarts[i - 1]));
    return fragment;
}

void g3dFragmentManagerPAC::FillVertices(g3dFragment& fragment, const g3dFragmentSource& source) {
    const u32 stride = g3dVertexStride(fragment.m_kind);
    // Every field a source does not give, the unset coordinate pairs among them, is zero.
    fragment.m_vertices.assign(static_cast<size_t>(source.vertexCount) * stride, 0);
    u8* out = fragment.m_vertices.data();
    if (source.positions4) {
        const g3dMaterial& material = *source.materials[0];
        const u32 diffuse = PackColor(material.GetDiffuse());
        const u32 specular = PackColor(material.GetSpecular());
        for (u32 i = 0; i < source.vertexCount; ++i) {
            const f32* p = source.positions4 + static_cast<size_t>(i) * 4;
            const g3dScreenVertex vertex{p[0], p[1], p[2], p[3], diffuse, specular, source.uvs[i]};
            std::memcpy(out + static_cast<size_t>(i) * stride, &vertex, sizeof vertex);
        }
        return;
    }
    for (u32 i = 0; i < source.vertexCount; ++i) {
        u8* vertex = out + static_cast<size_t>(i) * stride;
        std::memcpy(vertex, &source.positions[i], sizeof(maVector3d));
        std::memcpy(vertex + sizeof(maVector3d), &source.normals[i], sizeof(maVector3d));
        if (source.uvs)
            std::memcpy(vertex + 2 * sizeof(maVector3d), &source.uvs[i], sizeof(maVector2d));
        if (!source.dynamic)
            fragment.m_box.AddPoint(source.positions[i]);
    }
}

void g3dFragmentManagerPAC::MakeBuffers(g3dFragment& fragment, bool fillVertices) {
    plD3dDevice* device = g_pdevice;
    if (!device)
        return;
    // Nothing to hold, nothing to make.
    const u32 vertexBytes = static_cast<u32>(fragment.m_vertices.size());
    if (vertexBytes > 0) {
        const u32 usage = plD3dUsage::WriteOnly | (fragment.m_dynamic ? plD3dUsage::Dynamic : 0u);
        Report(device->CreateVertexBuffer(vertexBytes, usage, fragment.m_fvf, plD3dPool::Default,
                                          &fragment.m_vertexBuffer));
        if (fragment.m_vertexBuffer && fillVertices)
            Upload(*fragment.m_vertexBuffer, fragment.m_vertices.data(), vertexBytes,
                   fragment.m_dynamic ? plD3dLock::Discard : 0u);
    }
    const u32 indexBytes = fragment.m_indexCount * 2u;
    if (indexBytes > 0) {
        Report(device->CreateIndexBuffer(indexBytes, plD3dUsage::WriteOnly, plD3dFormat::Index16,
                                         plD3dPool::Default, &fragment.m_indexBuffer));
        if (fragment.m_indexBuffer)
            Upload(*fragment.m_indexBuffer, fragment.m_indices.data(), indexBytes, 0);
    }
}

void g3dFragmentManagerPAC::ReleaseBuffers(g3dFragment& fragment) {
    if (fragment.m_vertexBuffer)
        fragment.m_vertexBuffer->Release();
    if (fragment.m_indexBuffer)
        fragment.m_indexBuffer->Release();
    fragment.m_vertexBuffer = nullptr;
    fragment.m_indexBuffer = nullptr;
}

void g3dFragmentManagerPAC::Destroy(g3dFragment* fragment) {
    if (!fragment)
        return;
    if (fragment == g_head) {
        g_head = fragment->m_next;
        if (g_head)
            g_head->m_previous = nullptr;
    } else {
        if (fragment->m_next)
            fragment->m_next->m_previous = fragment->m_previous;
        fragment->m_previous->m_next = fragment->m_next;
    }
    ReleaseBuffers(*fragment);
    fragment->~g3dFragment();
    Pool().Release(fragment);
}

void g3dFragmentManagerPAC::CommitVertices(g3dFragment& fragment) {
    if (fragment.m_vertexBuffer && g3dVertexStride(fragment.m_kind) != 0)
        Upload(*fragment.m_vertexBuffer, fragment.m_vertices.data(),
               static_cast<u32>(fragment.m_vertices.size()), 0);
}

g3dFragment* g3dFragmentManagerPAC::GetFirst() {
    return g_head;
}

void g3dFragmentManagerPAC::ReleaseAllBuffers() {
    for (g3dFragment* fragment = g_head; fragment; fragment = fragment->m_next)
        ReleaseBuffers(*fragment);
}

void g3dFragmentManagerPAC::RemakeAllBuffers() {
    for (g3dFragment* fragment = g_head; fragment; fragment = fragment->m_next) {
        MakeBuffers(*fragment, false);
        CommitVertices(*fragment);
    }
}
