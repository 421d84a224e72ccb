#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"
#include "Engine/Graphics/G3d/g3dRenderList.h"

class g3dFragment;
class g3dMaterial;
class g3dRenderTargetTexture;
class g3dTransformTreeNode;
class plD3dVertexBuffer;

// Fog as set: mode (0 none, 1 exponential, 2 exponential squared, 3 linear), colour and distances.
struct g3dFogSettings {
    u32 mode = 0;
    g3dARGBColor color;
    f32 start = 1.0f;
    f32 end = 50.0f;
    f32 density = 0.0f;
};

// The device side of the renderer: the default states, a cache of the states that change during a
// frame so that no call repeats what the device holds, fog by the card's abilities, and the drawing
// of fragments with their materials and texture stages.
namespace g3dRendererPAC {

// The render lists and the frame drawn from them (see g3dRenderer).
void BuildRenderLists(const std::vector<g3dRenderListConfig>& lists);
void RenderFrame(f32 time);
void RenderToTexture(g3dRenderTargetTexture& target, const std::vector<g3dDynamicModel*>& models,
                     const g3dMaterial* overrideMaterial);
g3dWorldStaticModel* AddStaticModel(g3dFragment* fragment, u32 list);
g3dStaticModel* AddPlacedStaticModel(g3dFragment* fragment, const maMatrix4d& world, u32 list);
g3dDynamicModel* AddNode(const g3dTransformTreeNode& node, u32 list);
g3dSpriteGroupModel* AddSpriteGroup(u32 list);
void RemoveModel(g3dModel* model);
void ProjectToScreen(const maVector3d& point, f32 out[4]);
// The list's sort items in their order: opaque ones as they are, depth writes off and blending on from
// the first transparent one, sprite groups through the sprite buffer.
void DrawSortItems(const g3dRenderListEntry& entry, const g3dMaterial*& lastMaterial, bool& forced);

// Everything the cache knows is forgotten; device limits 0 until InitStates.
void ResetState();
void RegisterResetHandler();
void InitStates();
void Shutdown();
// The default states in their fixed order, and the cache set to match.
void SendDefaultStates();

// 0: identity view and projection; 1: identity view, camera projection; 2: camera view and projection.
void SetTransformMode(u32 mode);
// The view also gives the eye position; both keep view x projection up to date.
void SetViewMatrix(const maMatrix4d& view);
// Stored as given (the facade mirrors it).
void SetProjectionMatrix(const maMatrix4d& projection);
const maVector3d& GetEyePosition();
const maMatrix4d& GetViewMatrix();
const maMatrix4d& GetProjectionMatrix();
// The world transform, with the identity sent once while it stays.
void SetWorldIdentity();
void SetWorldMatrix(const maMatrix4d& world);
// 0: source alpha over inverse source alpha; 1: additive, source alpha onto one. Sent on change.
void SetBlendMode(u32 mode);
// After each frame: no combiners known, stage 0 off, every stage's texture unbound.
void ResetTextureStages();

void SetFog(u32 mode, const g3dARGBColor& color, f32 start, f32 end, f32 density);
const g3dFogSettings& GetFog();

// The frame's time, which animated materials and flip-books are evaluated at.
void SetFrameTime(f32 time);
u32 GetTriangleCount();
void ResetTriangleCount();
plD3dVertexBuffer* GetSpriteBuffer();

// Draws every material range of the fragment; the world transform is the caller's. lastMaterial and
// forced belong to the caller's list: a range whose material is lastMaterial, while not forced, sends
// no material, stage or texture call.
void DrawFragment(const g3dFragment& fragment, const g3dMaterial*& lastMaterial, bool& forced);
// The list's visible static models: in a list with depth, their ranges that share a material and a
// vertex kind go to the device as one draw, in the order each material first comes, placed models brought
// into world space on the way; a fragment with lines, a material of several passes, more than 4,096
// vertices or a flat placement, and every model of a list without depth, is drawn as it is, where it comes.
void DrawStatics(const g3dRenderListEntry& entry, const g3dMaterial*& lastMaterial, bool& forced);
// Every range of the fragment with no texture, the diffuse colour alone, in the material when one is
// given (without its animations) and otherwise in whatever material the device holds.
void DrawFragmentUntextured(const g3dFragment& fragment, const g3dMaterial* material);

} // namespace g3dRendererPAC
