#pragma once
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

class coCullOctree;
class coSceneObjectSet;
class g3dCamera;

// The program-wide registry of the placed track's scene object sets, and the culling octree over them.

// The first registration sets the octree's cube over the park: the placement grid in x and z, from the
// terrain's lowest y up to the world's top. Without terrain there is no cube and sets stay out of the
// octree. Registering a set again re-registers it (by its current box); a null set only sets the cube.
void coRegisterObjectSet(coSceneObjectSet* set);
void coUnregisterObjectSet(coSceneObjectSet* set);
// Each set's level of detail by its distance from the camera, in registration order.
void coChooseDetailByDistance(const maVector3d& camera);
// Group g in every set that has objects in it (sets without are left as they are).
void coChooseDetailGroup(int g);
// The octree's culling pass by the view-projection matrix, then the piece count on debug line 7.
void coCullObjectSets(const maMatrix4d& viewProjection);
// The track's sets through the octree, then every other object of the scene's update list, against
// the camera's view.
void coCullScene(g3dCamera& camera);
// Empties the registry and the octree; the sets themselves belong to their makers.
void coClearObjectSets();

const std::vector<coSceneObjectSet*>& coGetObjectSets();
const coCullOctree& coGetCullOctree();
