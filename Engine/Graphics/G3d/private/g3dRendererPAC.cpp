#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dHardware.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/private/g3dRendererState.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"

#include <algorithm>
#include <bit>

namespace {

constexpr u32 kSpriteBufferBytes = 3200; // 100 vertices of position, normal and one coordinate pair
constexpr u32 kSpriteFvf = 0x112;

g3dRendererState g_state;

u32 FloatBits(f32 value) {
    return std::bit_cast<u32>(value);
}

// Component x 255 truncated, clamped to a byte: colours a little past 1 stay bright instead of wrapping.
u32 ColorByte(f32 component) {
    return static_cast<u32>(std::clamp(component * 255.0f, 0.0f, 255.0f));
}

void MakeSpriteBuffer() {
    g_state.spriteBuffer = nullptr;
    g_state.spriteWritePosition = 0;
    g3dReportFailure(g_pdevice->CreateVertexBuffer(kSpriteBufferBytes,
                                                   plD3dUsage::WriteOnly | plD3dUsage::Dynamic, kSpriteFvf,
                                                   plD3dPool::Default, &g_state.spriteBuffer));
}

// The buffers the renderer holds on the device: the sprite buffer and the static models' batch buffers.
void ReleaseDeviceBuffers() {
    if (g_state.spriteBuffer)
        g_state.spriteBuffer->Release();
    g_state.spriteBuffer = nullptr;
    g3dReleaseBatchBuffers();
}

void SendFloat(u32 state, f32 value) {
    g3dReportFailure(g_pdevice->SetRenderState(state, FloatBits(value)));
}

void FogOff() {
    g3dReportFailure(g_pdevice->SetRenderState(plD3dRs::FogEnable, 0));
    g_pdevice->SetRenderState(plD3dRs::FogTableMode, plD3dFog::None);
    g_pdevice->SetRenderState(plD3dRs::FogVertexMode, plD3dFog::None);
}

// Z fog compares depth after the projection: an eye distance d lies at z/w = p + q / d with
// p and q the projection's elements (2, 2) and (3, 2).
f32 FogDepth(f32 distance) {
    const f32 p = g_state.projection.m[10];
    const f32 q = g_state.projection.m[14];
    return distance > 0.0f ? p + q / distance : 0.0f;
}

void SendFogRange(bool depthConversion) {
    const g3dFogSettings& fog = g_state.fog;
    SendFloat(plD3dRs::FogStart, depthConversion ? FogDepth(fog.start) : fog.start);
    SendFloat(plD3dRs::FogEnd, depthConversion ? FogDepth(fog.end) : fog.end);
}

class g3dStateResetter : public g2dD3DResetHandler {
  public:
    void OnDeviceLost() override {
        ReleaseDeviceBuffers();
        // A buffer made before the reset would still be held when it comes, and the reset would fail.
        g_state.batchRefused = true;
    }
    void OnDeviceReset() override {
        g3dRendererPAC::SendDefaultStates();
        MakeSpriteBuffer();
        g_state.batchRefused = false;
        const g3dFogSettings fog = g_state.fog;
        g3dRendererPAC::SetFog(fog.mode, fog.color, fog.start, fog.end, fog.density);
    }
};

} // namespace

g3dRendererState& g3dGetRendererState() {
    return g_state;
}

void g3dReportFailure(plD3dResult result) {
    if (plD3dFailed(result))
        g2dReportDXError(result);
}

void g3dRendererPAC::ResetState() {
    ReleaseDeviceBuffers();
    g_state = {};
    g_state.transformOff.fill(true);
}

void g3dRendererPAC::RegisterResetHandler() {
    g2dRegisterResetHandler(std::make_unique<g3dStateResetter>());
}

void g3dRendererPAC::InitStates() {
    g3dSelectTextureFormats();
    g_state.maxSimultaneousTextures = g3dGetMaxSimultaneousTextures();
    g_state.maxBlendStages = g3dGetMaxTextureBlendStages();
    SendDefaultStates();
    ReleaseDeviceBuffers();
    MakeSpriteBuffer();
    g_pdevice->SetRenderState(plD3dRs::Ambient, 0xFFFFFFFF);
    g_state.additive = false;
    g_state.lastStageCount = -1;
    g_state.view.SetIdentity();
    g_state.projection.SetIdentity();
    g_state.viewProjection.SetIdentity();
    g_state.eye = {0.0f, 0.0f, 0.0f};
    g_state.frameTime = 0.0f;
}

void g3dRendererPAC::Shutdown() {
    ReleaseDeviceBuffers();
}

void g3dRendererPAC::SendDefaultStates() {
    plD3dDevice& device = *g_pdevice;
    device.SetRenderState(plD3dRs::CullMode, plD3dCull::Cw);
    device.SetRenderState(plD3dRs::LocalViewer, 1);
    for (u32 stage = 0; stage < plD3dMaxTextureStages; ++stage) {
        device.SetTextureStageState(stage, plD3dTss::MagFilter, plD3dTexf::Linear);
        device.SetTextureStageState(stage, plD3dTss::MinFilter, plD3dTexf::Linear);
        device.SetTextureStageState(stage, plD3dTss::AddressU, plD3dTaddress::Wrap);
        device.SetTextureStageState(stage, plD3dTss::AddressV, plD3dTaddress::Wrap);
        device.SetTextureStageState(stage, plD3dTss::MipFilter, plD3dTexf::Point);
        device.SetTextureStageState(stage, plD3dTss::TextureTransformFlags, plD3dTtff::Disable);
        g_state.transformOff[stage] = true;
    }
    device.SetRenderState(plD3dRs::NormalizeNormals, 1);
    device.SetRenderState(plD3dRs::NormalizeNormals, 1);
    device.SetRenderState(plD3dRs::ZWriteEnable, 1);
    device.SetRenderState(plD3dRs::ZFunc, plD3dCmp::LessEqual);
    device.SetRenderState(plD3dRs::ZEnable, 1);
    device.SetRenderState(plD3dRs::SrcBlend, plD3dBlend::SrcAlpha);
    device.SetRenderState(plD3dRs::DestBlend, plD3dBlend::InvSrcAlpha);
    device.SetRenderState(plD3dRs::FogEnable, 0);
    device.SetRenderState(plD3dRs::FogTableMode, plD3dFog::None);
    device.SetRenderState(plD3dRs::FogVertexMode, plD3dFog::None);
    const maMatrix4d identity;
    device.SetTransform(plD3dTs::View, &identity);
    device.SetTransform(plD3dTs::Projection, &identity);
    device.SetTransform(plD3dTs::World, &identity);
    g_state.identityView = g_state.identityProjection = g_state.worldIdentity = true;
    g_state.cameraView = g_state.cameraProjection = false;
    // The blend factors are back to alpha blending; the stages hold no known combiners.
    g_state.additive = false;
    g_state.lastStageCount = -1;
    g_state.cubeReflection = false;
}

void g3dRendererPAC::SetTransformMode(u32 mode) {
    if (mode > 2)
        return;
    plD3dDevice& device = *g_pdevice;
    const maMatrix4d identity;
    if (mode == 2 && !g_state.cameraView) {
        device.SetTransform(plD3dTs::View, &g_state.view);
        g_state.cameraView = true;
        g_state.identityView = false;
    } else if (mode < 2 && !g_state.identityView) {
        device.SetTransform(plD3dTs::View, &identity);
        g_state.identityView = true;
        g_state.cameraView = false;
    }
    if (mode >= 1 && !g_state.cameraProjection) {
        device.SetTransform(plD3dTs::Projection, &g_state.projection);
        g_state.cameraProjection = true;
        g_state.identityProjection = false;
    } else if (mode == 0 && !g_state.identityProjection) {
        device.SetTransform(plD3dTs::Projection, &identity);
        g_state.identityProjection = true;
        g_state.cameraProjection = false;
    }
}

void g3dRendererPAC::SetViewMatrix(const maMatrix4d& view) {
    g_state.view = view;
    maMatrix4d inverse = view;
    inverse.Invert();
    g_state.eye = inverse.GetTranslation();
    g_state.viewProjection = g_state.view * g_state.projection;
    g_state.cameraView = false;
}

void g3dRendererPAC::SetProjectionMatrix(const maMatrix4d& projection) {
    g_state.projection = projection;
    g_state.viewProjection = g_state.view * g_state.projection;
    g_state.cameraProjection = false;
}

const maVector3d& g3dRendererPAC::GetEyePosition() {
    return g_state.eye;
}

const maMatrix4d& g3dRendererPAC::GetViewMatrix() {
    return g_state.view;
}

const maMatrix4d& g3dRendererPAC::GetProjectionMatrix() {
    return g_state.projection;
}

void g3dRendererPAC::SetWorldIdentity() {
    if (g_state.worldIdentity)
        return;
    const maMatrix4d identity;
    g_pdevice->SetTransform(plD3dTs::World, &identity);
    g_state.worldIdentity = true;
}

void g3dRendererPAC::SetWorldMatrix(const maMatrix4d& world) {
    g_pdevice->SetTransform(plD3dTs::World, &world);
    g_state.worldIdentity = false;
}

void g3dRendererPAC::SetBlendMode(u32 mode) {
    const bool additive = mode == 1;
    if (additive == g_state.additive)
        return;
    g_pdevice->SetRenderState(plD3dRs::SrcBlend, plD3dBlend::SrcAlpha);
    g_pdevice->SetRenderState(plD3dRs::DestBlend, additive ? plD3dBlend::One : plD3dBlend::InvSrcAlpha);
    g_state.additive = additive;
}

void g3dRendererPAC::ResetTextureStages() {
    g_state.lastStageCount = -1;
    g_pdevice->SetTextureStageState(0, plD3dTss::ColorOp, plD3dTop::Disable);
    g_pdevice->SetTextureStageState(0, plD3dTss::AlphaOp, plD3dTop::Disable);
    for (u32 stage = 0; stage < plD3dMaxTextureStages; ++stage)
        g_pdevice->SetTexture(stage, nullptr);
}

void g3dRendererPAC::SetFog(u32 mode, const g3dARGBColor& color, f32 start, f32 end, f32 density) {
    g_state.fog = {mode, color, start, end, density};
    if (mode == plD3dFog::None) {
        FogOff();
        return;
    }
    plD3dDevice& device = *g_pdevice;
    g3dReportFailure(device.SetRenderState(plD3dRs::FogEnable, 1));
    plD3dCaps caps;
    device.GetDeviceCaps(&caps);
    const u32 raster = caps.rasterCaps;
    // This adapter's table fog is known to be broken.
    const bool tableFog = (raster & plD3dRasterCaps::FogTable) &&
                          (raster & (plD3dRasterCaps::WFog | plD3dRasterCaps::ZFog)) &&
                          g3dGetAdapterName().find("Magnum/Xpert 128/Xpert 99") == std::string::npos;
    const bool linear = mode == plD3dFog::Linear;
    if (tableFog) {
        device.SetRenderState(plD3dRs::FogTableMode, mode);
        device.SetRenderState(plD3dRs::FogVertexMode, plD3dFog::None);
        if (linear)
            SendFogRange(!(raster & plD3dRasterCaps::WFog));
        else
            SendFloat(plD3dRs::FogDensity, density);
    } else if ((raster & plD3dRasterCaps::FogVertex) && linear) {
        device.SetRenderState(plD3dRs::FogVertexMode, plD3dFog::Linear);
        device.SetRenderState(plD3dRs::FogTableMode, plD3dFog::None);
        SendFogRange(false);
    } else {
        if (raster & plD3dRasterCaps::FogVertex)
            DBG_WARNING("Couldn't enable the specified fog. The 3D card only supports linear vertex fog.");
        else
            DBG_WARNING("Neither pixel nor vertex fog is supported by the 3D card.");
        FogOff();
        if (linear && !(raster & plD3dRasterCaps::FogVertex))
            SendFogRange(false);
        else
            SendFloat(plD3dRs::FogDensity, density);
    }
    device.SetRenderState(plD3dRs::FogColor, ColorByte(color.a) << 24 | ColorByte(color.r) << 16 |
                                                 ColorByte(color.g) << 8 | ColorByte(color.b));
}

const g3dFogSettings& g3dRendererPAC::GetFog() {
    return g_state.fog;
}

void g3dRendererPAC::SetFrameTime(f32 time) {
    g_state.frameTime = time;
}

u32 g3dRendererPAC::GetTriangleCount() {
    return g_state.triangles;
}

void g3dRendererPAC::ResetTriangleCount() {
    g_state.triangles = 0;
}

plD3dVertexBuffer* g3dRendererPAC::GetSpriteBuffer() {
    return g_state.spriteBuffer;
}
