#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

class g3dFragment;
class g3dMaterial;

// The arrays a creator hands over; those a kind does not use stay null.
struct g3dFragmentSource {
    const maVector3d* positions = nullptr;
    const maVector3d* normals = nullptr;
    const maVector2d* uvs = nullptr;
    const f32* positions4 = nullptr; // x, y, z, rhw of screen vertices
    u32 vertexCount = 0;
    const u16* indices = nullptr;
    u32 indexCount = 0;
    g3dMaterial* const* materials = nullptr;
    const u32* rangeStarts = nullptr;
    u32 materialCount = 0;
    bool dynamic = false;
};

// The device side of the fragment manager: records from a block pool, the list of live fragments,
// their buffers in the device's default pool and the reset handler that remakes them.
class g3dFragmentManagerPAC {
  public:
    static void Initialize();
    // Null, with a warning, for sources the fragment cannot hold.
    static g3dFragment* Create(u8 kind, u32 fvf, u32 primitive, const g3dFragmentSource& source);
    static void Destroy(g3dFragment* fragment);
    // Sends the whole system copy of the vertices to the vertex buffer.
    static void CommitVertices(g3dFragment& fragment);
    static g3dFragment* GetFirst();

    // The reset handler's halves: every buffer released, then every buffer made and filled again.
    static void ReleaseAllBuffers();
    static void RemakeAllBuffers();

  private:
    static bool IsValid(const g3dFragmentSource& source);
    static void FillVertices(g3dFragment& fragment, const g3dFragmentSource& source);
    static void MakeBuffers(g3dFragment& fragment, bool fillVertices);
    static void ReleaseBuffers(g3dFragment& fragment);
};
