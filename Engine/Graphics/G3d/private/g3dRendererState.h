#pragma once
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

#include <array>

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
    // Whether the one stage last set up was clamped: part of what a single stage's combiners hold.
    bool lastClamped = false;
    bool cubeReflection = false;
    u32 maxSimultaneousTextures = 0;
    u32 maxBlendStages = 0;
    maMatrix4d view;
    maMatrix4d projection;
    f32 frameTime = 0.0f;
    u32 triangles = 0;
    g3dFogSettings fog;
    plD3dVertexBuffer* spriteBuffer = nullptr;
};

g3dRendererState& g3dGetRendererState();
// A failed result goes to the debug log.
void g3dReportFailure(plD3dResult result);
