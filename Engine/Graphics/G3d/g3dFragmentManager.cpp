#include "Engine/Graphics/G3d/g3dFragmentManager.h"

#include "Engine/Core/Env/dbgLog.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/private/g3dFragmentManagerPAC.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

namespace {

constexpr u32 kTriangleList = 1;
constexpr u32 kLineList = 2;

g3dFragmentSource Source(const maVector3d* positions, const maVector3d* normals, u32 vertexCount,
                         const u16* indices, u32 indexCount, g3dMaterial* const* materials,
                         const u32* rangeStarts, u32 materialCount, bool dynamic) {
    g3dFragmentSource source;
    source.positions = positions;
    source.normals = normals;
    source.vertexCount = vertexCount;
    source.indices = indices;
    source.indexCount = indexCount;
    source.materials = materials;
    source.rangeStarts = rangeStarts;
    source.materialCount = materialCount;
    source.dynamic = dynamic;
    return source;
}

} // namespace

namespace g3dFragmentManager {

void Initialize() {
    g3dFragmentManagerPAC::Initialize();
}

g3dFragment* CreateFragmentPN(const maVector3d* positions, const maVector3d* normals, u32 vertexCount,
                              const u16* indices, u32 indexCount, g3dMaterial* const* materials,
                              const u32* rangeStarts, u32 materialCount, bool dynamic) {
    return g3dFragmentManagerPAC::Create(g3dVertexKind::PN, plD3dFvf::Xyz | plD3dFvf::Normal, kLineList,
                                         Source(positions, normals, vertexCount, indices, indexCount,
                                                materials, rangeStarts, materialCount, dynamic));
}

g3dFragment* CreateFragmentPNT(const maVector3d* positions, const maVector3d* normals, u32 vertexCount,
                               const u16* indices, u32 indexCount, g3dMaterial* const* materials,
                               const u32* rangeStarts, u32 materialCount, bool dynamic) {
    return g3dFragmentManagerPAC::Create(g3dVertexKind::PNT,
                                         plD3dFvf::Xyz | plD3dFvf::Normal | plD3dFvf::Tex1, kTriangleList,
                                         Source(positions, normals, vertexCount, indices, indexCount,
                                                materials, rangeStarts, materialCount, dynamic));
}

g3dFragment* CreateFragmentPNT2(const maVector3d* positions, const maVector3d* normals, const maVector2d* uvs,
                                u32 vertexCount, const u16* indices, u32 indexCount,
                                g3dMaterial* const* materials, const u32* rangeStarts, u32 materialCount,
                                bool dynamic) {
    g3dFragmentSource source = Source(positions, normals, vertexCount, indices, indexCount, materials,
                                      rangeStarts, materialCount, dynamic);
    source.uvs = uvs;
    return g3dFragmentManagerPAC::Create(
        g3dVertexKind::PNT2, plD3dFvf::Xyz | plD3dFvf::Normal | plD3dFvf::Tex2, kTriangleList, source);
}

g3dFragment* CreateScreenFragment(const f32* positions4, const maVector2d* uvs, u32 vertexCount,
                                  const u16* indices, u32 indexCount, g3dMaterial* material) {
    if (!material) {
        DBG_WARNING("A screen fragment takes its colours from a material, and none was given; none made");
        return nullptr;
    }
    g3dFragmentSource source =
        Source(nullptr, nullptr, vertexCount, indices, indexCount, &material, nullptr, 1, false);
    source.positions4 = positions4;
    source.uvs = uvs;
    return g3dFragmentManagerPAC::Create(
        g3dVertexKind::PNT, plD3dFvf::XyzRhw | plD3dFvf::Diffuse | plD3dFvf::Specular | plD3dFvf::Tex1,
        kTriangleList, source);
}

g3dFragment* CreateBox(f32 sizeX, f32 sizeY, f32 sizeZ) {
    const f32 x = sizeX / 2, y = sizeY / 2, z = sizeZ / 2;
    // Per face: its normal and two axes (u, v) whose cross product is the normal, so every face winds
    // the same way about its outward normal.
    const struct {
        maVector3d normal, u, v;
    } faces[6] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
    };
    const f32 corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    maVector3d positions[24], normals[24];
    maVector2d uvs[24];
    u16 indices[36];
    for (u16 f = 0; f < 6; ++f) {
        for (u16 c = 0; c < 4; ++c) {
            const maVector3d& n = faces[f].normal;
            const maVector3d& u = faces[f].u;
            const maVector3d& v = faces[f].v;
            const f32 a = corners[c][0], b = corners[c][1];
            const u16 i = static_cast<u16>(f * 4 + c);
            positions[i] = maVector3d((n.x + a * u.x + b * v.x) * x, (n.y + a * u.y + b * v.y) * y,
                                      (n.z + a * u.z + b * v.z) * z);
            normals[i] = n;
            uvs[i] = maVector2d((a + 1) / 2, (1 - b) / 2);
        }
        const u16 first = static_cast<u16>(f * 4);
        const u16 quad[6] = {0, 1, 2, 2, 3, 0};
        for (u16 k = 0; k < 6; ++k)
            indices[f * 6 + k] = static_cast<u16>(first + quad[k]);
    }
    g3dMaterial* none = nullptr;
    g3dFragmentSource source = Source(positions, normals, 24, indices, 36, &none, nullptr, 1, false);
    source.uvs = uvs;
    return g3dFragmentManagerPAC::Create(
        g3dVertexKind::PNT, plD3dFvf::Xyz | plD3dFvf::Normal | plD3dFvf::Tex1, kTriangleList, source);
}

void DestroyFragment(g3dFragment* fragment) {
    g3dFragmentManagerPAC::Destroy(fragment);
}

g3dFragment* GetFirstFragment() {
    return g3dFragmentManagerPAC::GetFirst();
}

} // namespace g3dFragmentManager
