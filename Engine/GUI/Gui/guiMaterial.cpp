#include "Engine/GUI/Gui/guiMaterial.h"

#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiTextureCache.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

#include <cmath>

namespace {

// Byte to colour channel: the GUI's own factor, so that GetColor gives back every byte it was given.
constexpr float kByteToChannel = 0.003921569f;

// The whole window before its transform: one unit wide and high, down from its top left corner.
const maBoundingBox kUnitQuad({0.0f, 0.0f, 0.0f}, {1.0f, -1.0f, 0.0f});

// The share of the quad's side, from and to, that shows texels first to last of a texture side of `size`
// texels stretched `scale` times over it, with a margin the filter's reach cannot cross. The texture
// repeats, so the quad's first pixels also reach the side's last texel, and its last pixels the first
// texel when the coordinates come within half a texel of the end: a side drawn there is not cut.
void FitAxis(i32 first, i32 last, i32 size, f32 scale, f32& from, f32& to) {
    constexpr i32 kMargin = 2;
    if (last < first) {
        from = to = 0.0f;
        return;
    }
    if (scale <= 0.0f || scale > 1.0f)
        return;
    const f32 texels = scale * static_cast<f32>(size);
    if (first > kMargin && last < size - 1)
        from = static_cast<f32>(first - kMargin) / texels;
    if (first > 0 || texels < static_cast<f32>(size) - 0.5f)
        to = std::min(1.0f, static_cast<f32>(last + 1 + kMargin) / texels);
}

g3dMaterial& DefaultMaterial() {
    static g3dMaterial material;
    return material;
}

g3dARGBColor Channels(const std::array<u8, 3>& rgb, float alpha) {
    return {rgb[0] * kByteToChannel, rgb[1] * kByteToChannel, rgb[2] * kByteToChannel, alpha};
}

std::unique_ptr<g3dMaterial> MakeMaterial(const g3dARGBColor& colour) {
    auto material = std::make_unique<g3dMaterial>();
    material->SetAmbient({0.0f, 0.0f, 0.0f, 0.0f});
    material->SetSpecular({0.0f, 0.0f, 0.0f, 0.0f});
    material->SetSpecularEnable(false);
    material->SetEmissive(colour);
    material->SetDiffuse(colour);
    return material;
}

u8 ToByte(float channel) {
    const float value = channel * 255.0f;
    return value <= 0.0f ? 0 : value >= 255.0f ? 255 : static_cast<u8>(value);
}

} // namespace

guiMaterial::guiMaterial() {
    CreateQuad();
}

guiMaterial::~guiMaterial() {
    // The press ends here, so the button is not left handled by a window that is gone.
    if (m_pressed)
        guiMouseButtons::RecordClick(guiMouseButtons::kMain, this);
    ClearMaterials();
    g3dRenderer::RemoveModel(m_entry);
    g3dFragmentManager::DestroyFragment(m_fragment);
}

void guiMaterial::CreateQuad() {
    const maVector3d positions[4] = {{0, 0, 0}, {1, 0, 0}, {0, -1, 0}, {1, -1, 0}};
    const maVector3d normals[4] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    const u16 indices[6] = {2, 1, 0, 2, 3, 1};
    g3dMaterial* material = &DefaultMaterial();
    m_fragment = g3dFragmentManager::CreateFragmentPNT(positions, normals, 4, indices, 6, &material, nullptr,
                                                       1, false);
    // The whole texture over the whole quad: with the quad half a pixel before its pixels, each pixel
    // of a texture the window's size samples its own texel's centre, so text shows where it measured.
    auto* vertices = reinterpret_cast<g3dVertexPNT*>(m_fragment->GetVertices());
    for (u32 i = 0; i < 4; ++i)
        vertices[i].uv = {positions[i].x, -positions[i].y};
    m_fragment->CommitVertices();
    const g3dHFragment node(m_fragment);
    try {
        m_entry = g3dRenderer::AddNode(node, static_cast<u32>(guiGetRenderList()));
    } catch (...) {
        // No such render list: the widget is not made, and its quad must not outlive it.
        g3dFragmentManager::DestroyFragment(m_fragment);
        throw;
    }
    m_entry->SetVisible(true);
    m_screenBox = kUnitQuad;
}

void guiMaterial::SetState(i32 state) {
    guiWindow::SetState(state);
    ShowState(state);
}

void guiMaterial::UpdateVisibility() {
    guiWindow::UpdateVisibility();
    ShowEntry();
}

// A fully transparent look draws nothing: leaving it out of the frame spares blending its whole area
// (the fade sheet and the dialog dimmer cover the screen while they are clear).
void guiMaterial::ShowEntry() {
    m_entry->SetVisible(IsEffectivelyVisible() && !LooksEmpty());
}

bool guiMaterial::LooksEmpty() const {
    const g3dMaterial* shown = m_fragment->GetMaterial(0);
    return shown && shown->GetDiffuse().a <= 0.0f;
}

void guiMaterial::Think() {
    constexpr i32 button = guiMouseButtons::kMain;
    const i32 event = guiMouseButtons::GetButtonEvent(button);
    if (!IsPointerOver()) {
        if (!m_pressed) {
            SetState(guiStateIdle);
            return;
        }
        if (event == guiMouseButtons::Held) {
            SetState(guiStateIdle);
        } else if (event == guiMouseButtons::Released) {
            // Let go outside: the press ends without a click.
            guiMouseButtons::RecordClick(button, this);
            m_pressed = false;
            SetState(guiStateIdle);
        }
        guiMouseButtons::Claim(button);
        return;
    }
    if (!guiMouseButtons::IsUnclaimed(button) && !m_pressed) {
        SetState(guiStateIdle);
        return;
    }
    switch (event) {
    case guiMouseButtons::Down:
        guiMouseButtons::SetHandled(button);
        m_pressed = true;
        SetState(guiStatePressed);
        SetFocusWindow(this);
        break;
    case guiMouseButtons::Held:
        SetState(guiStateHeld);
        break;
    case guiMouseButtons::Released:
        guiMouseButtons::RecordClick(button, this);
        m_pressed = false;
        SetState(guiStateReleased);
        break;
    default:
        SetState(guiStateOver);
        SetOverWindow(this);
        break;
    }
    guiMouseButtons::Claim(button);
}

void guiMaterial::Draw() {
    const i32 stamp = static_cast<i32>(guiWindowMgr::NextDrawStamp());
    if (stamp == GetDrawStamp() && !IsDepthDirty())
        return;
    SetDrawDepth(stamp);
    m_entry->GetNode()->GetLocalMatrix() = guiComposeMatrix(GetWorldMatrix());
}

void guiMaterial::UpdateTransform() {
    guiWindow::UpdateTransform();
    const maMatrix4d composed = guiComposeMatrix(GetWorldMatrix());
    m_entry->GetNode()->GetLocalMatrix() = composed;
    maVector3d corners[8];
    kUnitQuad.GetCorners(corners);
    m_screenBox = {};
    for (const maVector3d& corner : corners)
        m_screenBox.AddPoint(composed.TransformPoint(corner));
}

g3dMaterial* guiMaterial::FindMaterial(i32 state) const {
    const auto found = m_materials.find(state);
    return found == m_materials.end() ? nullptr : found->second.get();
}

g3dMaterial& guiMaterial::GetStateMaterial(i32 state) {
    std::unique_ptr<g3dMaterial>& material = m_materials[state];
    if (!material)
        material = MakeMaterial({1.0f, 1.0f, 1.0f, 1.0f});
    return *material;
}

void guiMaterial::SetColor(const std::array<u8, 3>& rgb, i32 state) {
    if (g3dMaterial* material = FindMaterial(state)) {
        const g3dARGBColor colour = Channels(rgb, material->GetEmissive().a);
        material->SetEmissive(colour);
        material->SetDiffuse(colour);
    } else {
        m_materials[state] = MakeMaterial(Channels(rgb, 1.0f));
    }
    ShowFirstLook();
    ShowEntry();
}

void guiMaterial::SetTransparency(float alpha, i32 state) {
    if (g3dMaterial* material = FindMaterial(state)) {
        const g3dARGBColor& emissive = material->GetEmissive();
        const g3dARGBColor colour{emissive.r, emissive.g, emissive.b, alpha};
        material->SetEmissive(colour);
        material->SetDiffuse(colour);
    } else {
        m_materials[state] = MakeMaterial({1.0f, 1.0f, 1.0f, alpha});
    }
    ShowFirstLook();
    ShowEntry();
}

void guiMaterial::ShowFirstLook() {
    if (m_shown == guiStateNone)
        ShowState(GetState() == guiStateNone ? guiStateIdle : GetState());
}

std::array<u8, 3> guiMaterial::GetColor(i32 state) const {
    const g3dMaterial* material = FindMaterial(state);
    if (!material)
        return {0, 0, 0};
    const g3dARGBColor& emissive = material->GetEmissive();
    return {ToByte(emissive.r), ToByte(emissive.g), ToByte(emissive.b)};
}

f32 guiMaterial::GetTransparency(i32 state) const {
    const g3dMaterial* material = FindMaterial(state);
    return material ? material->GetEmissive().a : 0.0f;
}

bool guiMaterial::HasStateMaterial(i32 state) const {
    return FindMaterial(state) != nullptr;
}

bool guiMaterial::HasTexture(i32 state) const {
    return Stage0(state) != nullptr;
}

const g3dTextureStage* guiMaterial::Stage0(i32 state) const {
    const g3dMaterial* material = FindMaterial(state);
    return material && material->GetStageCount() > 0 ? &material->GetStage(0) : nullptr;
}

void guiMaterial::SetTile(f32 u, f32 v, i32 state) {
    if (Stage0(state))
        FindMaterial(state)->SetStageScale({u, v}, 0);
}

void guiMaterial::GetTile(f32& u, f32& v, i32 state) const {
    const g3dTextureStage* stage = Stage0(state);
    u = stage ? stage->scale.x : 1.0f;
    v = stage ? stage->scale.y : 1.0f;
}

void guiMaterial::GetTextureSize(i32& width, i32& height, i32 state) const {
    const g3dTextureStage* stage = Stage0(state);
    width = stage && stage->texture ? stage->texture->GetWidth() : 0;
    height = stage && stage->texture ? stage->texture->GetHeight() : 0;
}

void guiMaterial::SetTextureOffset(const maVector2d& offset, i32 state) {
    if (Stage0(state))
        FindMaterial(state)->SetStageOffset(offset, 0);
}

maVector2d guiMaterial::GetTextureOffset(i32 state) const {
    const g3dTextureStage* stage = Stage0(state);
    return stage ? stage->offset : maVector2d(0.0f, 0.0f);
}

void guiMaterial::MakeTransparencyMap(f32 threshold, i32 state) {
    if (const g3dTextureStage* stage = Stage0(state); stage && stage->texture)
        stage->texture->BuildTransparencyMask(threshold);
}

void guiMaterial::FreeTransparencyMap(i32 state) {
    if (const g3dTextureStage* stage = Stage0(state); stage && stage->texture)
        stage->texture->FreeTransparencyMask();
}

bool guiMaterial::HasTransparencyMap(i32 state) const {
    const g3dTextureStage* stage = Stage0(state);
    return stage && stage->texture && stage->texture->GetTransparencyMask();
}

bool guiMaterial::IsTransparentAt(i32 x, i32 y, i32 state) const {
    const g3dTextureStage* stage = Stage0(state);
    const u8* map = stage && stage->texture ? stage->texture->GetTransparencyMask() : nullptr;
    if (!map)
        return false;
    const i32 width = stage->texture->GetWidth();
    const i32 height = stage->texture->GetHeight();
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    return map[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] != 0;
}

void guiMaterial::CoverTexels(const std::optional<g3dTexelRect>& texels) {
    f32 left = 0.0f, top = 0.0f, right = 1.0f, bottom = 1.0f;
    const g3dTextureStage* stage = Stage0(m_shown);
    if (texels && stage && stage->texture && stage->offset.x == 0.0f && stage->offset.y == 0.0f) {
        FitAxis(texels->left, texels->right, stage->texture->GetWidth(), stage->scale.x, left, right);
        FitAxis(texels->top, texels->bottom, stage->texture->GetHeight(), stage->scale.y, top, bottom);
    }
    SetQuadArea(left, top, right, bottom);
}

void guiMaterial::SetQuadArea(f32 left, f32 top, f32 right, f32 bottom) {
    auto* vertices = reinterpret_cast<g3dVertexPNT*>(m_fragment->GetVertices());
    const f32 xs[4] = {left, right, left, right}, ys[4] = {top, top, bottom, bottom};
    if (vertices[0].position.x == left && vertices[0].position.y == -top && vertices[3].position.x == right &&
        vertices[3].position.y == -bottom)
        return;
    for (u32 i = 0; i < 4; ++i) {
        vertices[i].position.x = xs[i];
        vertices[i].position.y = -ys[i];
        vertices[i].uv = {xs[i], ys[i]};
    }
    m_fragment->CommitVertices();
}

void guiMaterial::ShowState(i32 state) {
    if (state == m_shown)
        return;
    PrepareState(state);
    g3dMaterial* material = FindMaterial(state);
    // A state without a look keeps the one before; a widget that first shows under the pointer has
    // none before but the white default, so it takes its normal look.
    if (!material && m_shown == guiStateNone) {
        state = guiStateIdle;
        PrepareState(state);
        material = FindMaterial(state);
    }
    if (!material)
        return;
    m_fragment->SetMaterial(material, 0);
    m_shown = state;
    ShowEntry();
}

void guiMaterial::ReleaseStages(g3dMaterial& material) {
    while (material.GetStageCount() > 0) {
        g3dTexture* texture = material.GetStage(0).texture;
        material.RemoveTextureStage(0);
        guiTextureCache::Release(texture);
    }
}

void guiMaterial::ClearMaterials() {
    for (auto& [state, material] : m_materials)
        ReleaseStages(*material);
    m_fragment->SetMaterial(&DefaultMaterial(), 0);
    m_materials.clear();
    m_shown = guiStateNone;
    ShowEntry();
}

void guiMaterial::ReleaseTextures() {
    for (auto& [state, material] : m_materials)
        ReleaseStages(*material);
}

bool guiMaterial::IsCaptured(i32 button) const {
    return button == guiMouseButtons::kMain && m_pressed;
}

void guiMaterial::ReleaseCapture(i32 button) {
    if (button != guiMouseButtons::kMain || !m_pressed)
        return;
    m_pressed = false;
    guiMouseButtons::RecordClick(button, nullptr);
}

bool guiMaterial::IsPointerOver() const {
    i32 width = 0, height = 0;
    GetSize(width, height);
    if (width <= 0 || height <= 0)
        return false;
    const maVector2d p = guiPixelsToDevice2d(guiCursorMgr::GetPosition());
    const maBoundingBox& box = m_screenBox;
    if (!(box.minX <= p.x && p.x < box.maxX && box.minY <= p.y && p.y < box.maxY))
        return false;
    if (!HasTransparencyMap(m_shown))
        return true;
    GetTextureSize(width, height, m_shown);
    const maVector3d& scale = GetScale();
    // A quad scaled to nothing shows no texel to hit.
    if (scale.x == 0.0f || scale.y == 0.0f)
        return false;
    const float tx = std::trunc((p.x - box.minX) * static_cast<float>(width) / scale.x);
    const float ty = std::trunc((box.maxY - p.y) * static_cast<float>(height) / scale.y);
    if (!(tx >= 0.0f && ty >= 0.0f && tx < static_cast<float>(width) && ty < static_cast<float>(height)))
        return false;
    return !IsTransparentAt(static_cast<i32>(tx), static_cast<i32>(ty), m_shown);
}
