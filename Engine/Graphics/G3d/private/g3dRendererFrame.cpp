// The frame half of the renderer's device side: the render list table, the models it owns and the
// frame drawn from it pass by pass.
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/G3d/private/g3dLightManagerPAC.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Graphics/G3d/private/g3dRendererState.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <algorithm>
#include <cstdio>

namespace {

std::vector<g3dRenderListEntry> g_lists;

void BeginPass(const g3dRenderListConfig& config) {
    plD3dDevice& device = *g_pdevice;
    device.SetRenderState(plD3dRs::AlphaBlendEnable, 0);
    const u32 depth = config.depthMode == 1 ? 0 : 1;
    device.SetRenderState(plD3dRs::ZWriteEnable, depth);
    device.SetRenderState(plD3dRs::ZEnable, depth);
    device.SetRenderState(plD3dRs::FogEnable,
                          config.fogEnabled && g3dRendererPAC::GetFog().mode != plD3dFog::None ? 1 : 0);
    g3dRendererPAC::SetBlendMode(config.blendMode);
    g3dRendererPAC::SetTransformMode(config.transformMode);
}

void DrawList(g3dRenderListEntry& entry, const maVector3d& direction) {
    BeginPass(entry.config);
    g3dSortRenderList(entry, g3dRendererPAC::GetEyePosition(), direction);
    const g3dMaterial* lastMaterial = nullptr;
    bool forced = false;
    g3dRendererPAC::DrawStatics(entry, lastMaterial, forced);
    forced = true;
    g3dRendererPAC::DrawSortItems(entry, lastMaterial, forced);
}

void DrawTreeUntextured(const g3dTransformTreeNode& node, const maMatrix4d& parentWorld,
                        const g3dMaterial* overrideMaterial) {
    const maMatrix4d world = node.GetLocalMatrix() * parentWorld;
    const auto* fragmentNode = dynamic_cast<const g3dHFragment*>(&node);
    if (fragmentNode && fragmentNode->GetFragment()) {
        g3dRendererPAC::SetWorldMatrix(world);
        g3dRendererPAC::DrawFragmentUntextured(*fragmentNode->GetFragment(), overrideMaterial);
    }
    for (u32 i = 0; i < node.GetChildCount(); ++i)
        DrawTreeUntextured(*node.GetChild(i), world, overrideMaterial);
}

void Release(plD3dSurface* surface) {
    if (surface)
        surface->Release();
}

void ShowFrameFigures() {
    char line[64];
    std::snprintf(line, sizeof line, "tris: %u", g3dRendererPAC::GetTriangleCount());
    g2dScreen::SetDebugLine(1, line);
    const u32 free = g_pdevice->GetAvailableTextureMem();
    std::snprintf(line, sizeof line, "texture mem free: %uK (%.2fM)", free >> 10,
                  static_cast<f64>(free) * 9.5367431640625e-07);
    g2dScreen::SetDebugLine(4, line);
}

} // namespace

void g3dRendererPAC::BuildRenderLists(const std::vector<g3dRenderListConfig>& lists) {
    g_lists.clear();
    g_lists.resize(lists.size());
    for (size_t i = 0; i < lists.size(); ++i)
        g_lists[i].config = lists[i];
}

void g3dRendererPAC::RenderFrame(f32 time) {
    g3dRendererState& state = g3dGetRendererState();
    state.frameTime = time;
    g3dLightManagerPAC::UpdateLights();
    plD3dDevice& device = *g_pdevice;
    g3dReportFailure(device.Clear(0, nullptr, plD3dClear::ZBuffer, 0, 1.0f, 0));
    ResetTriangleCount();
    g3dReportFailure(device.BeginScene());
    const maVector3d direction(state.view.m[2], state.view.m[6], state.view.m[10]);
    for (g3dRenderListEntry& entry : g_lists)
        DrawList(entry, direction);
    g3dReportFailure(device.EndScene());
    ResetTextureStages();
    device.SetStreamSource(0, nullptr, 0);
    ShowFrameFigures();
}

void g3dRendererPAC::RenderToTexture(g3dRenderTargetTexture& target,
                                     const std::vector<g3dDynamicModel*>& models,
                                     const g3dMaterial* overrideMaterial) {
    plD3dTexture* texture = target.GetPAC() ? target.GetPAC()->GetTexture() : nullptr;
    plD3dSurface* level = nullptr;
    if (!texture || plD3dFailed(texture->GetSurfaceLevel(0, &level)))
        return;
    // An empty table has no list 0; its camera transforms are the usual ones.
    SetTransformMode(g_lists.empty() ? 2 : g_lists[0].config.transformMode);
    SetWorldIdentity();
    plD3dDevice& device = *g_pdevice;
    plD3dSurface* keptTarget = nullptr;
    plD3dSurface* keptDepth = nullptr;
    device.GetRenderTarget(&keptTarget);
    device.GetDepthStencilSurface(&keptDepth);
    device.SetRenderTarget(level, keptDepth);
    g3dReportFailure(device.Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0x00FFFFFF, 1.0f, 0));
    g3dReportFailure(device.BeginScene());
    bool blendChecked = false;
    for (const g3dDynamicModel* model : models) {
        if (!model)
            continue;
        if (!blendChecked) {
            SetBlendMode(0);
            blendChecked = true;
        }
        if (const g3dTransformTreeNode* tree = model->GetNode())
            DrawTreeUntextured(*tree, maMatrix4d(), overrideMaterial);
    }
    g3dReportFailure(device.EndScene());
    device.SetRenderTarget(keptTarget, keptDepth);
    Release(keptTarget);
    Release(keptDepth);
    Release(level);
}

g3dWorldStaticModel* g3dRendererPAC::AddStaticModel(g3dFragment* fragment, u32 list) {
    return g_lists.at(list).worldStatic.emplace_back(std::make_unique<g3dWorldStaticModel>(fragment)).get();
}

g3dStaticModel* g3dRendererPAC::AddPlacedStaticModel(g3dFragment* fragment, const maMatrix4d& world,
                                                     u32 list) {
    return g_lists.at(list)
        .placedStatic.emplace_back(std::make_unique<g3dStaticModel>(world, fragment))
        .get();
}

g3dDynamicModel* g3dRendererPAC::AddNode(const g3dTransformTreeNode& node, u32 list) {
    g3dRenderListEntry& entry = g_lists.at(list);
    auto model = std::make_unique<g3dDynamicModel>();
    std::unique_ptr<g3dTransformTreeNode> tree = node.CloneTree();
    if (dynamic_cast<g3dHFragment*>(tree.get()))
        model->SetNode(std::move(tree));
    g3dDynamicModel* added = model.get();
    entry.sortItems.push_back({std::move(model), added, nullptr});
    return added;
}

g3dSpriteGroupModel* g3dRendererPAC::AddSpriteGroup(u32 list) {
    g3dRenderListEntry& entry = g_lists.at(list);
    auto group = std::make_unique<g3dSpriteGroupModel>();
    g3dSpriteGroupModel* added = group.get();
    entry.sortItems.push_back({std::move(group), nullptr, added});
    return added;
}

void g3dRendererPAC::RemoveModel(g3dModel* model) {
    // A model is owned once, so the search ends where it is found: models removed in the order they
    // were added (a screen's windows) are found at the front instead of after a walk of the whole list.
    const auto eraseFirst = [](auto& models, auto owns) {
        const auto found = std::find_if(models.begin(), models.end(), owns);
        if (found == models.end())
            return false;
        models.erase(found);
        return true;
    };
    const auto held = [model](const auto& owned) { return owned.get() == model; };
    for (g3dRenderListEntry& entry : g_lists)
        if (eraseFirst(entry.placedStatic, held) || eraseFirst(entry.worldStatic, held) ||
            eraseFirst(entry.sortItems,
                       [model](const g3dSortItem& item) { return item.model.get() == model; }))
            return;
}

void g3dRendererPAC::ProjectToScreen(const maVector3d& point, f32 out[4]) {
    const maVector4d p =
        g3dGetRendererState().viewProjection.TransformVector4d({point.x, point.y, point.z, 1});
    const f32 invW = p.w == 0.0f ? 1.0f : 1.0f / p.w;
    i32 width = 0;
    i32 height = 0;
    g2dScreen::GetSize(width, height);
    const f32 halfWidth = static_cast<f32>(width / 2);
    const f32 halfHeight = static_cast<f32>(height / 2);
    out[0] = (p.x * invW + 1.0f) * halfWidth;
    out[1] = (1.0f - p.y * invW) * halfHeight;
    out[2] = p.z * invW;
    out[3] = invW;
}
