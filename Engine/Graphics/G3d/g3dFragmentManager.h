#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

class g3dFragment;
class g3dMaterial;

// Creates, lists and destroys fragments. Every creator takes a material per range and, for more than
// one, the first triangle of each range after the first (rangeStarts). A creator refuses, with a
// warning and null, more than 65535 vertices or indices, an index past the vertices, and range starts
// that decrease or pass the triangle count. The caller owns the fragment and destroys it here.
namespace g3dFragmentManager {

// Registers the reset handler that releases every fragment's buffers before a reset and makes them
// again from the system copies after it. Once per screen start, after the screen exists.
void Initialize();

// Line lists: the indices are taken in pairs.
g3dFragment* CreateFragmentPN(const maVector3d* positions, const maVector3d* normals, u32 vertexCount,
                              const u16* indices, u32 indexCount, g3dMaterial* const* materials,
                              const u32* rangeStarts, u32 materialCount, bool dynamic);
// Triangle lists with one coordinate pair a vertex, left at (0, 0).
g3dFragment* CreateFragmentPNT(const maVector3d* positions, const maVector3d* normals, u32 vertexCount,
                               const u16* indices, u32 indexCount, g3dMaterial* const* materials,
                               const u32* rangeStarts, u32 materialCount, bool dynamic);
// Triangle lists with two coordinate pairs a vertex: the first from uvs, the second (0, 0).
g3dFragment* CreateFragmentPNT2(const maVector3d* positions, const maVector3d* normals, const maVector2d* uvs,
                                u32 vertexCount, const u16* indices, u32 indexCount,
                                g3dMaterial* const* materials, const u32* rangeStarts, u32 materialCount,
                                bool dynamic);
// Pre-transformed triangles, static, with one material: four floats a vertex (x, y, z, rhw) and the
// material's diffuse and specular colours packed into every vertex.
g3dFragment* CreateScreenFragment(const f32* positions4, const maVector2d* uvs, u32 vertexCount,
                                  const u16* indices, u32 indexCount, g3dMaterial* material);
// A solid box of that size centred on the origin: 24 vertices with their face's normal and corner
// coordinates, 36 indices, one material slot left null for the caller to fill.
g3dFragment* CreateBox(f32 sizeX, f32 sizeY, f32 sizeZ);
// Releases the buffers and the copies; the materials are not touched. Null is ignored.
void DestroyFragment(g3dFragment* fragment);

// The live fragments, newest first, through g3dFragment::GetNext.
g3dFragment* GetFirstFragment();

} // namespace g3dFragmentManager
