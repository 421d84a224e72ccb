#pragma once
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

#include <array>

class g3dUVATexture;
class plD3dIndexBuffer;

// What the renderer's device side knows of the device, shared by its state and drawing halves.
struct g3dRendererState {
    bool additive = false;
    bool identityView = false;
    bool cameraView = false;
    bool identityProjection = false;
    bool cameraProjection = false;
    bool worldIdentity = false;
    std::array<bool, plD3dMaxTextureStages> transformOff{};
    i32 lastStageCount = -1;
    u8 materialVertexKind = 0; // the vertex kind the last material's stages were bound for
    // Whether the one stage last set up was clamped: part of what a single stage's combiners hold.
    bool lastClamped = false;
    bool cubeReflection = false;
    u32 maxSimultaneousTextures = 0;
    u32 maxBlendStages = 0;
    maMatrix4d view;
    maMatrix4d projection;
    maMatrix4d viewProjection;
    maVector3d eye;
    f32 frameTime = 0.0f;
    u32 triangles = 0;
    g3dFogSettings fog;
    plD3dVertexBuffer* spriteBuffer = nullptr;
    u32 spriteWritePosition = 0; // in vertices
    // The static models' batches, each buffer written as a ring; made at the first batch after a reset.
    plD3dVertexBuffer* batchVertices = nullptr;
    plD3dIndexBuffer* batchIndices = nullptr;
    u32 batchVertexPosition = 0; // in bytes
    u32 batchIndexPosition = 0;  // in bytes
    bool batchRefused = false;   // refused by the device, or lost: not asked again before the next reset
};

g3dRendererState& g3dGetRendererState();
// A failed result goes to the debug log.
void g3dReportFailure(plD3dResult result);

// Shared with the sprite drawing: the combiners for a material, a stage's texture and transform from
// material stage s into hardware stage h, and a flip-book frame's cell as stage h's texture transform.
void g3dSetStageCombiners(const g3dMaterial& material);
void g3dBindTextureStage(u32 h, u32 s, const g3dMaterial& material);
void g3dSetFlipBookTransform(u32 h, const g3dUVATexture& flipBook, i32 frame);
// Whether the device has too few stages to draw the material in one pass.
bool g3dNeedsMultiPass(const g3dMaterial& material);
// The material, its combiners and stage textures for vertices of the kind, unless it is lastMaterial
// and the list does not force it; either way the list is no longer forced.
void g3dUseMaterial(const g3dMaterial& material, u8 vertexKind, const g3dMaterial*& lastMaterial,
                    bool& forced);
// Gives the batch buffers back to the device (before a reset, at the end).
void g3dReleaseBatchBuffers();
