#pragma once
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

class coCoasterPiece;
class coSceneObjectSet;
class g3dMaterial;

// Shadows of track pieces and target rings: flat meshes draped 0.45 above the terrain, textured with one
// shared material whose texture fades out across the shadow. The environment decides how they fall.

// The render list of shadows: drawn before the track.
inline constexpr int coShadowRenderList = 1;
// 0 no track shadows, 1 straight down, 2 along the shadow direction.
inline constexpr int coShadowsOff = 0;
inline constexpr int coShadowsDown = 1;
inline constexpr int coShadowsAlongDirection = 2;

// Stores v with its y replaced by +-sqrt(x^2 + y^2) (its sign kept, down when 0), then made unit unless it
// is zero.
void coSetShadowDirection(const maVector3d& v);
const maVector3d& coGetShadowDirection();
void coSetShadowsEnabled(int mode);
int coGetShadowsEnabled();

// The material and the texture of "shadow.png" (root "Environments"), each only when not there yet.
void coCreateShadowMaterial();
// Deletes the material and gives the texture back; shadow objects made with it must be gone first.
void coDestroyShadowMaterial();
// Null while there is none; shadows are then built without material.
g3dMaterial* coGetShadowMaterial();

// The point moved onto the ground as the shadow mode says.
maVector3d coShadowGroundPoint(const maVector3d& p);

// Samples along a band of length L: 0.8 a unit, at least 2, and few enough that the indices fit in
// 16 bits (with a warning).
int coShadowSampleCount(float length);
// A band from s along d for length L, as wide as d's horizontal part is long.
void coMakeStripShadow(const maVector3d& s, const maVector3d& d, float L, coSceneObjectSet& set);
// An ellipse: the circle of radius r in the plane of q's x and y axes round c, cast onto the ground.
void coMakeDiscShadow(const maVector3d& c, const maRotation& q, float r, coSceneObjectSet& set);
// A band 2 wide along the piece, hidden while the "Track Shadows" preference is off.
void coMakePieceShadow(const coCoasterPiece& piece, coSceneObjectSet& set);

// What a ring's shadow needs of a target ring.
struct coShadowRing {
    maVector3d position;
    float radius = 1.0f;
    // The direction it faces.
    maVector3d normal{0.0f, 0.0f, 1.0f};
    maRotation rotation;
    // Its rotation about its horizontal axis in radians; 0 when upright.
    float pitch = 0.0f;
};
// An ellipse for a ring pitched 10 degrees or more, else a band across its width.
void coMakeTargetRingShadow(const coShadowRing& ring, coSceneObjectSet& set);
