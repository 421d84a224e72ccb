#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <vector>

class g3dCamera;
class g3dMaterial;
class g3dRenderTargetTexture;
class g3dTexture;
class scObject;

// A texture cast from a projector camera onto the receivers (the environment's objects): each receiver
// inside the projector's frustum gets a projected stage (mode 1) on its materials and its vertices'
// last coordinate pair set from the projector; a receiver outside loses the stage. The game casts the
// cars' shadow this way.

void scAddSceneObject(scObject* object);
// Empties the receiver list and keeps its storage.
void scClearSceneObjects();
// Forgets one receiver; a dying object's destructor calls this.
void scRemoveSceneObject(const scObject* object);

// Aims the camera from outside the sphere along the direction at its centre, wide enough to take it
// in. A zero direction looks straight down.
void scSetUpProjector(float radius, const maVector3d& centre, const maVector3d& direction, g3dCamera& camera);
// Draws the simple movable objects among the casters into the target with the material.
void scRenderCastersToTexture(g3dRenderTargetTexture& target, const std::vector<scObject*>& casters,
                              const g3dMaterial* material);
// The camera's matrices are its current ones; receivers culled or hidden are left as they are.
void scApplyProjectedTexture(g3dCamera& projector, g3dTexture* texture);
// Takes the projected stage from every receiver, whatever its flags; the caller then releases the
// texture.
void scClearProjectedTexture();
