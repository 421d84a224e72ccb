#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"
#include "Engine/Graphics/G3d/g3dRenderList.h"

class g3dFragment;
class g3dMaterial;
class g3dRenderTargetTexture;
class g3dTransformTreeNode;

// The 3D renderer's platform-independent face: the render lists and the frame drawn from them, the
// camera matrices and the fog the environment asks for. Each call forwards to the device side.
// Models made by the Add calls belong to the renderer: their makers change them through the pointer
// and hand them back to RemoveModel. A list number outside the table throws std::out_of_range.
namespace g3dRenderer {

// Builds the render list table in the given order (any models of an earlier table are deleted with
// it), resets the renderer's state and registers the reset handler that restores the device states.
void Initialize(const std::vector<g3dRenderListConfig>& lists = g3dDefaultRenderLists());
// The texture probe, the default states, the sprite buffer and the ambient light; once the device
// exists and whenever the display is made anew.
void InitStates();
// Releases the sprite buffer.
void Shutdown();

// Clears the depth buffer and draws the lists in table order, each with its pass settings; the time
// drives animated materials and flip-books.
void RenderFrame(f32 time);

// Draws the models' trees, untextured, into the target cleared to white of alpha 0, with the transforms
// of list 0 and the override material when there is one; null models are skipped. The render target
// is the device's own again afterwards. A target without its device texture takes nothing.
void RenderToTexture(g3dRenderTargetTexture& target, const std::vector<g3dDynamicModel*>& models,
                     const g3dMaterial* overrideMaterial);

// A fragment already in world coordinates.
g3dWorldStaticModel* AddStaticModel(g3dFragment* fragment, u32 list);
// A fragment drawn with a copy of the world matrix.
g3dStaticModel* AddPlacedStaticModel(g3dFragment* fragment, const maMatrix4d& world, u32 list);
// A model posed each frame from a deep copy of the tree; a root that is no fragment node gives a model
// that draws nothing.
g3dDynamicModel* AddNode(const g3dTransformTreeNode& node, u32 list);
g3dSpriteGroupModel* AddSpriteGroup(u32 list);
// Takes the model out of the first list holding it and deletes it; a model no list holds is left alone.
void RemoveModel(g3dModel* model);

// The camera's matrices; the next pass that needs one sends it.
void SetViewMatrix(const maMatrix4d& view);
// Stored mirrored in x (columns 0 to 2 times -1, 1, 1), the way the camera's screen mapping expects.
void SetProjectionMatrix(const maMatrix4d& projection);
// Pixels across and down, depth after the division and 1 / w of a world point (1 / w taken as 1 at
// w = 0, so a point at the eye's own depth stays finite).
void ProjectToScreen(const maVector3d& point, f32 out[4]);

// Each stores its value and applies fog with all five settings. Mode 0 none, 1 exponential,
// 2 exponential squared, 3 linear; distances are whole units.
void SetFogColor(const g3dARGBColor& color);
void SetFogDensity(f32 density);
void SetFogMode(u32 mode);
void SetFogStart(i32 start);
void SetFogEnd(i32 end);

} // namespace g3dRenderer
