#include "Engine/Graphics/G3d/g3dRenderer.h"

#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"

namespace {

// The fog as the environment set it; the device side keeps what it last applied.
g3dFogSettings g_fog;

void ApplyFog() {
    g3dRendererPAC::SetFog(g_fog.mode, g_fog.color, g_fog.start, g_fog.end, g_fog.density);
}

} // namespace

void g3dRenderer::Initialize(const std::vector<g3dRenderListConfig>& lists) {
    g_fog = {};
    g3dRendererPAC::BuildRenderLists(lists);
    g3dRendererPAC::ResetState();
    g3dRendererPAC::RegisterResetHandler();
}

void g3dRenderer::InitStates() {
    g3dRendererPAC::InitStates();
}

void g3dRenderer::Shutdown() {
    g3dRendererPAC::Shutdown();
}

void g3dRenderer::RenderFrame(f32 time) {
    g3dRendererPAC::RenderFrame(time);
}

void g3dRenderer::RenderToTexture(g3dRenderTargetTexture& target, const std::vector<g3dDynamicModel*>& models,
                                  const g3dMaterial* overrideMaterial) {
    g3dRendererPAC::RenderToTexture(target, models, overrideMaterial);
}

g3dWorldStaticModel* g3dRenderer::AddStaticModel(g3dFragment* fragment, u32 list) {
    return g3dRendererPAC::AddStaticModel(fragment, list);
}

g3dStaticModel* g3dRenderer::AddPlacedStaticModel(g3dFragment* fragment, const maMatrix4d& world, u32 list) {
    return g3dRendererPAC::AddPlacedStaticModel(fragment, world, list);
}

g3dDynamicModel* g3dRenderer::AddNode(const g3dTransformTreeNode& node, u32 list) {
    return g3dRendererPAC::AddNode(node, list);
}

g3dSpriteGroupModel* g3dRenderer::AddSpriteGroup(u32 list) {
    return g3dRendererPAC::AddSpriteGroup(list);
}

void g3dRenderer::RemoveModel(g3dModel* model) {
    g3dRendererPAC::RemoveModel(model);
}

void g3dRenderer::ProjectToScreen(const maVector3d& point, f32 out[4]) {
    g3dRendererPAC::ProjectToScreen(point, out);
}

void g3dRenderer::SetViewMatrix(const maMatrix4d& view) {
    g3dRendererPAC::SetViewMatrix(view);
}

void g3dRenderer::SetProjectionMatrix(const maMatrix4d& projection) {
    maMatrix4d mirrored = projection;
    mirrored.Scale(-1.0f, 1.0f, 1.0f);
    g3dRendererPAC::SetProjectionMatrix(mirrored);
}

void g3dRenderer::SetFogColor(const g3dARGBColor& color) {
    g_fog.color = color;
    ApplyFog();
}

void g3dRenderer::SetFogDensity(f32 density) {
    g_fog.density = density;
    ApplyFog();
}

void g3dRenderer::SetFogMode(u32 mode) {
    g_fog.mode = mode;
    ApplyFog();
}

void g3dRenderer::SetFogStart(i32 start) {
    g_fog.start = static_cast<f32>(start);
    ApplyFog();
}

void g3dRenderer::SetFogEnd(i32 end) {
    g_fog.end = static_cast<f32>(end);
    ApplyFog();
}
