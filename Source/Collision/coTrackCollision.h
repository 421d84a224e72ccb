#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/Collision/coCollisionPark.h"

#include <memory>
#include <vector>

class coCoasterPiece;
class coPickPathMesh;
class scObject;

// The collision registry of the placed track. Each placed piece's pick-path mesh is registered when the
// piece's geometry is built; registering tests it against the terrain, the registered track, the park's
// bounds, the props and the dock, and leaves markers on what collides. The registry also answers whether
// a prop, a box, a support or a ring meets the track, and which piece a pick ray hits.

enum coMarkerKind : int {
    coMarkerTrack = 0,
    coMarkerProp = 1,
    coMarkerDock = 2,
    coMarkerTerrain = 3,
    coMarkerOutOfPark = 4,
    coMarkerPiece = 5,
};

// A collision marker: its red scene object (none when the scene makes none), the registered mesh
// concerned, the other mesh of a track-against-track hit, and its kind.
struct coCollisionMarker {
    std::unique_ptr<scObject> object;
    const coPickPathMesh* mesh = nullptr;
    const coPickPathMesh* other = nullptr;
    int kind = coMarkerTrack;
};

// Tests the mesh and registers it for the piece; a mesh registered already is first unregistered, so its
// markers and its place in the box tree follow its current points. Nothing for a null mesh.
void coRegisterPlacedPiece(coPickPathMesh* mesh, const coCoasterPiece* piece);
// Drops the mesh and every marker that names it; to be called before the mesh is freed.
void coUnregisterPlacedPiece(coPickPathMesh* mesh);
// Deletes every marker and the marker resources, and empties the registry, the box tree, and the detail
// sets' registry and octree (through the clear hook).
void coCollisionClearMarkers();
// What coCollisionClearMarkers also clears; the scene installs the emptying of its render sets and
// culling octree. Null clears nothing more.
void coSetCollisionClearHook(void (*hook)());

void coCollisionShowMarkers(bool show);
bool coCollisionHasMarkers();
bool coCollisionHasKindFourMarker();
// True when every marker lies at the circuit's closing joint: on the first or last piece, against the
// first or last piece or the dock.
bool coCollisionOnlyAtJoint();

// Switching the checks on is refused while the preference "Disable Prop Collisions" is set.
void coSetCollisionChecks(bool on);
bool coGetCollisionChecks();
// Forces the prop and dock tests even with the checks off.
void coCollisionSetForced(bool forced);

// Whether the oriented box meets any registered track; false without testing when the checks are off.
bool coCollisionTestProp(const coOrientedBox& prop);
// Whether a path segment of a registered mesh passes through the box widened by the collision radius.
bool coCollisionBoxOverlaps(const maBoundingBox& box);
// Whether the segment a -> b comes within radius of a path segment.
bool coCollisionTestSupport(const maVector3d& a, const maVector3d& b, float radius);
// Whether the convex polygon (at least 3 points, plane normal given) meets the strip of a path segment
// near the box; height is then the largest lower end y of the segments hit.
bool coCollisionTestWoodSupport(const maVector3d* points, int count, const maVector3d& normal, float& height,
                                const maBoundingBox& box);
// The registered mesh whose path passes closest along the ray from -> to, with its parameter t (1.0 and
// null when none).
coPickPathMesh* coCollisionPickPiece(const maVector3d& from, const maVector3d& to, float& t);
// Whether some path segment passes through the ring's disc.
bool coCollisionTestRing(const coRingShape& ring);
// A marker on every path segment of the mesh.
void coCollisionMarkPiece(const coPickPathMesh* mesh);

const std::vector<coCollisionMarker>& coCollisionGetMarkers();
const std::vector<coPickPathMesh*>& coCollisionGetRegistered();

// The marker beam: an open tube of 8 sides round the z axis from z = 0 to 1, each side drawn with both
// windings; 18 vertices (two rings of 9 points) and 96 indices.
void coBuildBeamMesh(std::vector<maVector3d>& positions, std::vector<maVector3d>& normals,
                     std::vector<u16>& indices);
