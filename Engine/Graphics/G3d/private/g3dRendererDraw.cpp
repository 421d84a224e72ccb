// The drawing half of the renderer's device side: fragments range by range with their materials,
// animated channels, texture stages and combiners.
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Graphics/G3d/private/g3dRendererState.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"

namespace {

// Cube textures are not built yet; a texture of that kind would turn reflection vectors on.
constexpr bool IsStaticCubeTexture(const g3dTexture&) {
    return false;
}

plD3dColorValue ColorValue(const g3dARGBColor& color) {
    return {color.r, color.g, color.b, color.a};
}

const g3dMaterial& EvaluateMaterial(const g3dMaterial& material) {
    if (material.GetAnimationCount() == 0)
        return material;
    static g3dMaterial scratch;
    g3dApplyMaterialAnimations(material, g3dGetRendererState().frameTime, scratch);
    return scratch;
}

void ApplyMaterial(const g3dMaterial& material) {
    plD3dMaterial d3d;
    d3d.diffuse = ColorValue(material.GetDiffuse());
    d3d.ambient = ColorValue(material.GetAmbient());
    d3d.specular = ColorValue(material.GetSpecular());
    d3d.emissive = ColorValue(material.GetEmissive());
    const bool specular = material.IsSpecularEnabled();
    d3d.power = specular ? material.GetSpecularPower() : 0.0f;
    g3dReportFailure(g_pdevice->SetMaterial(&d3d));
    g3dReportFailure(g_pdevice->SetRenderState(plD3dRs::SpecularEnable, specular ? 1 : 0));
}

void SetStage(u32 stage, u32 state, u32 value) {
    g_pdevice->SetTextureStageState(stage, state, value);
}

void SetAddress(u32 stage, u32 mode) {
    SetStage(stage, plD3dTss::AddressU, mode);
    SetStage(stage, plD3dTss::AddressV, mode);
}

// Both halves of a stage: operation and two arguments each.
void SetCombiner(u32 stage, u32 colorOp, u32 alphaOp, u32 arg2) {
    SetStage(stage, plD3dTss::ColorArg1, plD3dTa::Texture);
    SetStage(stage, plD3dTss::ColorArg2, arg2);
    SetStage(stage, plD3dTss::ColorOp, colorOp);
    SetStage(stage, plD3dTss::AlphaArg1, plD3dTa::Texture);
    SetStage(stage, plD3dTss::AlphaArg2, arg2);
    SetStage(stage, plD3dTss::AlphaOp, alphaOp);
}

void SetStageCombiners(const g3dMaterial& material) {
    g3dRendererState& state = g3dGetRendererState();
    const u32 n = material.GetStageCount();
    // One stage's addressing follows its mode, so a count alone does not say what the device holds.
    const bool clamped = n == 1 && material.GetStage(0).mode == 1;
    if (state.lastStageCount == static_cast<i32>(n) && n <= 1 && state.lastClamped == clamped)
        return;
    state.lastStageCount = static_cast<i32>(n);
    state.lastClamped = clamped;
    if (n == 0) {
        SetStage(0, plD3dTss::ColorOp, plD3dTop::SelectArg2);
        SetStage(0, plD3dTss::AlphaOp, plD3dTop::SelectArg2);
        SetStage(1, plD3dTss::ColorOp, plD3dTop::Disable);
        g_pdevice->SetTexture(0, nullptr);
        return;
    }
    if (n == 1) {
        SetCombiner(0, plD3dTop::Modulate, plD3dTop::Modulate, plD3dTa::Diffuse);
        SetAddress(0, material.GetStage(0).mode == 1 ? plD3dTaddress::Clamp : plD3dTaddress::Wrap);
        SetStage(1, plD3dTss::ColorOp, plD3dTop::Disable);
        return;
    }
    SetAddress(0, plD3dTaddress::Wrap);
    SetCombiner(0, plD3dTop::Modulate, plD3dTop::Modulate, plD3dTa::Diffuse);
    for (u32 s = 1; s < n && s < plD3dMaxTextureStages; ++s) {
        const u32 mode = material.GetStage(s).mode;
        if (mode == 0) {
            SetAddress(s, plD3dTaddress::Wrap);
            SetCombiner(s, plD3dTop::BlendTextureAlpha, plD3dTop::AddSmooth, plD3dTa::Current);
        } else if (mode == 1) {
            SetAddress(s, plD3dTaddress::Clamp);
            SetCombiner(s, plD3dTop::Modulate, plD3dTop::Modulate, plD3dTa::Current);
        }
    }
    if (n <= 7) {
        SetStage(n, plD3dTss::ColorOp, plD3dTop::Disable);
        SetStage(n, plD3dTss::AlphaOp, plD3dTop::Disable);
    }
}

void SetCubeReflection(bool on) {
    g3dRendererState& state = g3dGetRendererState();
    if (state.cubeReflection == on)
        return;
    state.cubeReflection = on;
    if (!on) {
        SetStage(0, plD3dTss::TexCoordIndex, 0);
        SetStage(0, plD3dTss::TextureTransformFlags, plD3dTtff::Disable);
        return;
    }
    SetStage(0, plD3dTss::TexCoordIndex, plD3dTci::CameraSpaceReflectionVector);
    SetStage(0, plD3dTss::TextureTransformFlags, plD3dTtff::Count3);
    maMatrix3d rotation = state.view.GetRotationPart();
    rotation.Invert();
    const float* r = rotation.m;
    const maMatrix4d transform(r[0], r[1], r[2], 0, r[3], r[4], r[5], 0, r[6], r[7], r[8], 0, 0, 0, 0, 1);
    g3dReportFailure(g_pdevice->SetTransform(plD3dTs::Texture0, &transform));
}

// Turns stage h's texture transform on with count 2, once while it stays on.
void TransformOn(u32 h) {
    g3dRendererState& state = g3dGetRendererState();
    if (!state.transformOff[h])
        return;
    g3dReportFailure(g_pdevice->SetTextureStageState(h, plD3dTss::TextureTransformFlags, plD3dTtff::Count2));
    state.transformOff[h] = false;
}

void SetTextureTransform(u32 h, const maMatrix4d& transform) {
    g3dReportFailure(g_pdevice->SetTransform(plD3dTs::Texture0 + h, &transform));
}

// The device texture of a flip-book's current frame, with the frame's cell as stage h's transform;
// null for a flip-book without pages.
plD3dTexture* BindFlipBookFrame(u32 h, const g3dUVATexture& flipBook) {
    const i32 frame = flipBook.GetFrameAt(g3dGetRendererState().frameTime);
    const g3dTexture* page = flipBook.GetPageOfFrame(frame);
    if (!page)
        return nullptr;
    TransformOn(h);
    g3dSetFlipBookTransform(h, flipBook, frame);
    return page->GetPAC() ? page->GetPAC()->GetTexture() : nullptr;
}

void BindTextureStage(u32 h, u32 s, const g3dMaterial& material) {
    const g3dTextureStage& stage = material.GetStage(s);
    plD3dTexture* bound = nullptr;
    bool uvAnimated = false;
    if (stage.texture && stage.texture->GetPAC()) {
        SetCubeReflection(IsStaticCubeTexture(*stage.texture));
        bound = stage.texture->GetPAC()->GetTexture();
    } else {
        SetCubeReflection(false);
        // Only a flip-book lacks a device texture of its own; anything else binds none.
        if (const auto* flipBook = dynamic_cast<const g3dUVATexture*>(stage.texture)) {
            bound = BindFlipBookFrame(h, *flipBook);
            uvAnimated = bound != nullptr;
        }
    }
    g3dReportFailure(g_pdevice->SetTexture(h, bound));
    g3dRendererState& state = g3dGetRendererState();
    if (stage.transformed) {
        TransformOn(h);
        maMatrix3d t;
        material.GetStageTransform(t, s);
        const float* m = t.m;
        SetTextureTransform(
            h, maMatrix4d(m[0], m[1], m[2], 0, m[3], m[4], m[5], 0, m[6], m[7], m[8], 0, 0, 0, 0, 1));
    } else if (!uvAnimated && !state.transformOff[h]) {
        g3dReportFailure(
            g_pdevice->SetTextureStageState(h, plD3dTss::TextureTransformFlags, plD3dTtff::Disable));
        state.transformOff[h] = true;
    }
}

void DrawRange(const g3dFragment& fragment, u32 range) {
    const u32 start = fragment.GetRangeStartIndex(range);
    const u32 end = fragment.GetRangeEndIndex(range);
    const bool triangles = fragment.GetPrimitive() == 1;
    const u32 primitives = (end - start) / (triangles ? 3 : 2);
    if (primitives == 0)
        return;
    g3dReportFailure(g_pdevice->DrawIndexedPrimitive(triangles ? plD3dPt::TriangleList : plD3dPt::LineList, 0,
                                                     fragment.GetVertexCount(), start, primitives));
    g3dGetRendererState().triangles += primitives;
}

void BindBuffers(const g3dFragment& fragment) {
    g_pdevice->SetStreamSource(0, fragment.GetVertexBuffer(), g3dVertexStride(fragment.GetVertexKind()));
    g_pdevice->SetIndices(fragment.GetIndexBuffer(), 0);
    g_pdevice->SetVertexShader(fragment.GetFVF());
}

// One pass per stage, each its texture modulated by the diffuse colour, for cards with too few units.
void DrawMultiPass(const g3dFragment& fragment, u32 range, const g3dMaterial& material) {
    BindBuffers(fragment);
    ApplyMaterial(EvaluateMaterial(material));
    SetCombiner(0, plD3dTop::Modulate, plD3dTop::Modulate, plD3dTa::Diffuse);
    SetStage(1, plD3dTss::ColorOp, plD3dTop::Disable);
    for (u32 s = 0; s < material.GetStageCount(); ++s) {
        BindTextureStage(0, s, material);
        DrawRange(fragment, range);
    }
}

} // namespace

void g3dSetStageCombiners(const g3dMaterial& material) {
    SetStageCombiners(material);
}

void g3dBindTextureStage(u32 h, u32 s, const g3dMaterial& material) {
    BindTextureStage(h, s, material);
}

void g3dSetFlipBookTransform(u32 h, const g3dUVATexture& flipBook, i32 frame) {
    f32 u = 0.0f;
    f32 v = 0.0f;
    flipBook.GetCellOffset(frame, u, v);
    SetTextureTransform(h, maMatrix4d(flipBook.GetCellWidth(), 0, 0, 0, 0, flipBook.GetCellHeight(), 0, 0, u,
                                      v, 1, 0, 0, 0, 0, 1));
}

bool g3dNeedsMultiPass(const g3dMaterial& material) {
    const g3dRendererState& state = g3dGetRendererState();
    const u32 k = material.GetStageCount();
    return state.maxSimultaneousTextures < k || state.maxBlendStages < k + 1;
}

void g3dUseMaterial(const g3dMaterial& material, u8 vertexKind, const g3dMaterial*& lastMaterial,
                    bool& forced) {
    // The stages bound depend on the coordinates the vertices carry, so another kind sets them again.
    g3dRendererState& state = g3dGetRendererState();
    if (&material != lastMaterial || forced || vertexKind != state.materialVertexKind) {
        state.materialVertexKind = vertexKind;
        const g3dMaterial& drawn = EvaluateMaterial(material);
        ApplyMaterial(drawn);
        SetStageCombiners(drawn);
        const u32 k = material.GetStageCount();
        const u32 bound = std::min<u32>(vertexKind, k);
        for (u32 h = 0; h < bound; ++h)
            BindTextureStage(h, h, drawn);
        // Stages with combiners but no coordinates to read would sample what was left there.
        for (u32 h = bound; h < k && h < plD3dMaxTextureStages; ++h)
            g3dReportFailure(g_pdevice->SetTexture(h, nullptr));
        lastMaterial = &material;
    }
    forced = false;
}

void g3dRendererPAC::DrawFragment(const g3dFragment& fragment, const g3dMaterial*& lastMaterial,
                                  bool& forced) {
    // Buffers the device refused, or released between a loss and the reset, draw nothing.
    if (!fragment.GetVertexBuffer() || !fragment.GetIndexBuffer())
        return;
    BindBuffers(fragment);
    for (u32 range = 0; range < fragment.GetRangeCount(); ++range) {
        const g3dMaterial* material = fragment.GetMaterial(range);
        if (!material)
            continue;
        if (g3dNeedsMultiPass(*material)) {
            DrawMultiPass(fragment, range, *material);
            forced = true;
            continue;
        }
        g3dUseMaterial(*material, fragment.GetVertexKind(), lastMaterial, forced);
        DrawRange(fragment, range);
    }
}

void g3dRendererPAC::DrawFragmentUntextured(const g3dFragment& fragment, const g3dMaterial* material) {
    if (!fragment.GetVertexBuffer() || !fragment.GetIndexBuffer())
        return;
    BindBuffers(fragment);
    if (material)
        ApplyMaterial(*material);
    SetCombiner(0, plD3dTop::Modulate, plD3dTop::Modulate, plD3dTa::Diffuse);
    SetStage(1, plD3dTss::ColorOp, plD3dTop::Disable);
    g3dReportFailure(g_pdevice->SetTexture(0, nullptr));
    g3dGetRendererState().lastStageCount = -1;
    for (u32 range = 0; range < fragment.GetRangeCount(); ++range)
        DrawRange(fragment, range);
}
