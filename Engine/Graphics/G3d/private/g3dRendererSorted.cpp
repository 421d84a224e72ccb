// The sorted half of a render list: dynamic models posed from their trees, and sprite groups streamed
// as camera-facing squares through the renderer's one dynamic sprite buffer.
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Graphics/G3d/private/g3dRendererState.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"

#include <cstring>

namespace {

constexpr u32 kSpriteFvf = 0x112;
constexpr u32 kSpriteStride = 32;
constexpr u32 kSpriteVertices = 100;

struct SpriteVertex {
    maVector3d position;
    maVector3d normal;
    f32 u, v;
};
static_assert(sizeof(SpriteVertex) == kSpriteStride);

void DrawTree(const g3dTransformTreeNode& node, const maMatrix4d& parentWorld,
              const g3dMaterial*& lastMaterial, bool& forced) {
    const maMatrix4d world = node.GetLocalMatrix() * parentWorld;
    const auto* fragmentNode = dynamic_cast<const g3dHFragment*>(&node);
    if (fragmentNode && fragmentNode->GetFragment()) {
        g3dRendererPAC::SetWorldMatrix(world);
        g3dRendererPAC::DrawFragment(*fragmentNode->GetFragment(), lastMaterial, forced);
    }
    for (u32 i = 0; i < node.GetChildCount(); ++i)
        DrawTree(*node.GetChild(i), world, lastMaterial, forced);
}

plD3dColorValue ColorValue(const g3dARGBColor& color) {
    return {color.r, color.g, color.b, color.a};
}

// The texture of the sprite's frame into stage 0, once per page change, and the frame's cell as the
// stage's transform. A flip-book without pages binds nothing.
void BindSpriteFrame(const g3dSprite& sprite, const g3dUVATexture& flipBook, const g3dTexture*& lastPage,
                     bool& pageBound) {
    const i32 frame =
        sprite.frame == -1 ? flipBook.GetFrameAt(g3dGetRendererState().frameTime) : sprite.frame;
    const g3dTexture* page = flipBook.GetPageOfFrame(frame);
    if (!pageBound || page != lastPage) {
        plD3dTexture* texture = page && page->GetPAC() ? page->GetPAC()->GetTexture() : nullptr;
        g3dReportFailure(g_pdevice->SetTexture(0, texture));
        lastPage = page;
        pageBound = true;
    }
    if (page)
        g3dSetFlipBookTransform(0, flipBook, frame);
}

// Each sprite a square of four vertices in the next free place of the sprite buffer, drawn as one
// fan; a sprite with an alpha of its own sends the material with that alpha. Returns the triangles.
u32 DrawSprites(const g3dSpriteGroupModel& group, const g3dUVATexture* flipBook) {
    g3dRendererState& state = g3dGetRendererState();
    const float* view = state.view.m;
    const maVector3d forward(view[2], view[6], view[10]), right(view[0], view[4], view[8]),
        up(view[1], view[5], view[9]);
    const maVector3d normal(-forward.x, -forward.y, -forward.z);
    plD3dDevice& device = *g_pdevice;
    device.SetStreamSource(0, state.spriteBuffer, kSpriteStride);
    device.SetVertexShader(kSpriteFvf);
    const g3dMaterial& material = group.GetMaterial();
    plD3dMaterial sent;
    sent.diffuse = ColorValue(material.GetDiffuse());
    sent.ambient = ColorValue(material.GetAmbient());
    sent.specular = ColorValue(material.GetSpecular());
    sent.emissive = ColorValue(material.GetEmissive());
    const g3dTexture* lastPage = nullptr;
    bool pageBound = false;
    u32 triangles = 0;
    for (const g3dSprite* sprite = group.GetFirstSprite(); sprite; sprite = sprite->next) {
        u32 flags = plD3dLock::NoOverwrite;
        if (state.spriteWritePosition >= kSpriteVertices) {
            flags = plD3dLock::Discard;
            state.spriteWritePosition = 0;
        }
        u8* data = nullptr;
        const plD3dResult locked = state.spriteBuffer->Lock(state.spriteWritePosition * kSpriteStride,
                                                            4 * kSpriteStride, &data, flags);
        state.spriteWritePosition += 4;
        if (plD3dFailed(locked)) {
            g3dReportFailure(locked);
            continue;
        }
        maMatrix3d turn;
        turn.SetRotation(sprite->rotation, forward.x, forward.y, forward.z);
        turn.Scale(sprite->size, sprite->size, sprite->size);
        maVector3d a = up;
        maVector3d b = right;
        turn.TransformInPlace(a);
        turn.TransformInPlace(b);
        const maVector3d& s = sprite->position;
        const SpriteVertex square[4] = {{s + a + b, normal, 0, 0},
                                        {s + b - a, normal, 0, 1},
                                        {s - b - a, normal, 1, 1},
                                        {s - b + a, normal, 1, 0}};
        std::memcpy(data, square, sizeof square);
        state.spriteBuffer->Unlock();
        if (sprite->alpha != -1.0f) {
            sent.diffuse.a = sprite->alpha;
            g3dReportFailure(device.SetMaterial(&sent));
            device.SetRenderState(plD3dRs::SpecularEnable, 0);
        }
        if (flipBook)
            BindSpriteFrame(*sprite, *flipBook, lastPage, pageBound);
        g3dReportFailure(device.DrawPrimitive(plD3dPt::TriangleFan, state.spriteWritePosition - 4, 2));
        triangles += 2;
    }
    return triangles;
}

// The group's texture into stage 0 unless it is the one the last group left there; a flip-book binds
// its pages sprite by sprite with the stage's transform on. Returns the triangles drawn.
u32 DrawSpriteGroup(const g3dSpriteGroupModel& group, const g3dTexture*& lastSpriteTexture) {
    g3dRendererState& state = g3dGetRendererState();
    const g3dMaterial& material = group.GetMaterial();
    const g3dTexture* texture = material.GetStageCount() ? material.GetStage(0).texture : nullptr;
    const auto* flipBook = dynamic_cast<const g3dUVATexture*>(texture);
    if (!flipBook) {
        if (texture && texture != lastSpriteTexture) {
            g3dBindTextureStage(0, 0, material);
            lastSpriteTexture = texture;
        } else if (!texture) {
            lastSpriteTexture = nullptr; // the stage combiners of a material without stages unbind stage 0
        }
        return DrawSprites(group, nullptr);
    }
    if (state.transformOff[0]) {
        g_pdevice->SetTextureStageState(0, plD3dTss::TextureTransformFlags, plD3dTtff::Count2);
        state.transformOff[0] = false;
    }
    const u32 triangles = DrawSprites(group, flipBook);
    if (!state.transformOff[0]) {
        g_pdevice->SetTextureStageState(0, plD3dTss::TextureTransformFlags, plD3dTtff::Disable);
        state.transformOff[0] = true;
    }
    // Stage 0 now holds a page, whatever the last plain sprite texture was.
    lastSpriteTexture = nullptr;
    return triangles;
}

} // namespace

void g3dRendererPAC::DrawSortItems(const g3dRenderListEntry& entry, const g3dMaterial*& lastMaterial,
                                   bool& forced) {
    g3dRendererState& state = g3dGetRendererState();
    plD3dDevice& device = *g_pdevice;
    const g3dTexture* lastSpriteTexture = nullptr;
    bool transparentStarted = false;
    for (const g3dSortItem& item : entry.sortItems) {
        if (!item.model->IsVisible())
            continue;
        if (item.transparent && !transparentStarted) {
            device.SetRenderState(plD3dRs::ZWriteEnable, 0);
            device.SetRenderState(plD3dRs::AlphaBlendEnable, 1);
            transparentStarted = true;
        }
        if (item.dynamicModel) {
            if (const g3dTransformTreeNode* tree = item.dynamicModel->GetNode()) {
                lastSpriteTexture = nullptr;
                DrawTree(*tree, maMatrix4d(), lastMaterial, forced);
            }
            continue;
        }
        // Between a loss and the reset, or when the device refused it, there is no sprite buffer.
        if (!state.spriteBuffer)
            continue;
        const bool wasAdditive = state.additive;
        SetBlendMode(item.spriteGroup->IsNormalBlending() ? 0 : 1);
        SetWorldIdentity();
        lastMaterial = &item.spriteGroup->GetMaterial();
        g3dSetStageCombiners(*lastMaterial);
        state.triangles += DrawSpriteGroup(*item.spriteGroup, lastSpriteTexture);
        SetBlendMode(wasAdditive ? 1 : 0);
    }
    device.SetRenderState(plD3dRs::ZWriteEnable, 1);
}
