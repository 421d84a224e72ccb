#pragma once
#include "Engine/Core/Env/envTypes.h"

class g3dFragment;
class g3dMaterial;

// Shapes made without a model file, static fragments drawn with the shared shape material. The caller
// destroys them with g3dFragmentManager::DestroyFragment. Null, with a warning, when the shape cannot be
// made (fewer than 2 stacks or 1 slice, or more vertices than 16-bit indices reach).

// The plain white material every shape is drawn with, alive until the program ends.
g3dMaterial& g3dGetShapeMaterial();
// The twelve edges of a box centred on the origin, as a line list of 8 corners.
g3dFragment* g3dMakeWireBox(f32 width, f32 height, f32 depth);
// (stacks - 1) rings of slices vertices and two poles on the y axis; coordinates left at (0, 0).
g3dFragment* g3dMakeSphere(f32 radius, i32 stacks, i32 slices);
// As the sphere, with each ring closed by a repeat of its first vertex, coordinates (theta / pi, phi / 2 pi).
g3dFragment* g3dMakeTexturedSphere(f32 radius, i32 stacks, i32 slices);
