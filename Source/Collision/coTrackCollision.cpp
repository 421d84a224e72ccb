#include "Source/Collision/coTrackCollision.h"

#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Collision/coBoxTree.h"
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coPieceLimits.h"

#include <algorithm>

namespace {

// What clearing the markers also clears (coSetCollisionClearHook).
void (*g_clearHook)() = nullptr;

// Two path end points closer than this (squared) are joined.
constexpr float kJointTolerance = 0.05f;

struct State {
    std::vector<coPickPathMesh*> meshes;       // registration order
    std::vector<const coCoasterPiece*> pieces; // the piece of each mesh
    coBoxTree tree;
    std::vector<coCollisionMarker> markers;
    bool markersVisible = true;
    bool checksOn = true;
    bool forced = false;
    bool resourcesMade = false;
    std::unique_ptr<g3dMaterial> material;
    g3dFragment* beamMesh = nullptr;
    g3dFragment* boxMesh = nullptr;
};

// The markers are drawn with the track.
constexpr u32 kMarkerRenderList = 2;

State& S() {
    static State state;
    return state;
}

float CollisionRadius() {
    return coGetCoasterDefinition().GetExtrusionScale();
}

void MakeResources() {
    State& s = S();
    if (s.resourcesMade)
        return;
    // Glowing red, half transparent.
    s.material = std::make_unique<g3dMaterial>();
    s.material->SetEmissive({1, 0, 0, 1});
    s.material->SetAmbient({0, 0, 0, 0});
    s.material->SetDiffuse({0, 0, 0, 0.5f});
    std::vector<maVector3d> positions, normals;
    std::vector<u16> indices;
    coBuildBeamMesh(positions, normals, indices);
    g3dMaterial* material = s.material.get();
    s.beamMesh = g3dFragmentManager::CreateFragmentPNT(
        positions.data(), normals.data(), static_cast<u32>(positions.size()), indices.data(),
        static_cast<u32>(indices.size()), &material, nullptr, 1, false);
    s.boxMesh = g3dFragmentManager::CreateBox(1, 1, 1);
    if (s.boxMesh)
        s.boxMesh->SetMaterial(material, 0);
    s.resourcesMade = true;
}

void FreeResources() {
    State& s = S();
    if (!s.resourcesMade)
        return;
    for (g3dFragment* mesh : {s.beamMesh, s.boxMesh})
        if (mesh)
            g3dFragmentManager::DestroyFragment(mesh);
    s.beamMesh = s.boxMesh = nullptr;
    s.material.reset();
    s.resourcesMade = false;
}

// A marker showing the mesh scaled, turned and placed, on the update list; none without the mesh.
std::unique_ptr<scObject> MakeMarkerObject(g3dFragment* mesh, const maVector3d& scale,
                                           const maRotation& rotation, const maVector3d& position) {
    if (!mesh)
        return nullptr;
    auto object = std::make_unique<scSimpleMovableObject>(mesh, kMarkerRenderList);
    object->SetScale(scale);
    object->SetPositionRotation(position, rotation);
    scAddToUpdateList(object.get());
    return object;
}

std::unique_ptr<scObject> Shown(std::unique_ptr<scObject> object) {
    if (object)
        object->SetVisible(S().markersVisible);
    return object;
}

// A beam of thickness t from a to b; none when they coincide.
std::unique_ptr<scObject> MakeCollisionMarker(const maVector3d& a, const maVector3d& b, float t) {
    const float length = (b - a).Length();
    if (length == 0.0f)
        return nullptr;
    MakeResources();
    maRotation rotation;
    rotation.SetFromVectors(maVector3d(0, 0, 1), b - a);
    return Shown(MakeMarkerObject(S().beamMesh, maVector3d(t, t, length), rotation, a));
}

std::unique_ptr<scObject> MakeBoxMarker(const coOrientedBox& box) {
    MakeResources();
    const maMatrix4d& m = box.transform;
    maRotation rotation;
    rotation.SetFromMatrix3d(m.GetRotationPart());
    const maBoundingBox& local = box.local;
    const maVector3d size(local.maxX - local.minX, local.maxY - local.minY, local.maxZ - local.minZ);
    return Shown(MakeMarkerObject(S().boxMesh, size, rotation, m.TransformPoint(local.GetCenter())));
}

void AddMarker(std::unique_ptr<scObject> object, const coPickPathMesh* mesh, const coPickPathMesh* other,
               int kind) {
    S().markers.push_back(coCollisionMarker{std::move(object), mesh, other, kind});
}

void DeleteMarkerObject(coCollisionMarker& marker) {
    if (marker.object) {
        scRemoveFromUpdateList(marker.object.get());
        marker.object.reset();
    }
}

// The meshes whose bounds overlap the box widened by the margin.
std::vector<coPickPathMesh*> MeshesNear(const maBoundingBox& box, float margin) {
    std::vector<coPickPathMesh*> found;
    S().tree.Query(coBoxGrow(box, margin), found);
    return found;
}

const coCoasterPiece* PieceOf(const coPickPathMesh* mesh) {
    const State& s = S();
    for (size_t i = 0; i < s.meshes.size(); ++i)
        if (s.meshes[i] == mesh)
            return s.pieces[i];
    return nullptr;
}

bool StripsIntersect(const coPickPathMesh& a, int stripA, const coPickPathMesh& b, int stripB) {
    maVector3d u[3], v[3], nu, nv;
    for (int ta = 0; ta < a.GetTrianglesPerStrip(); ++ta) {
        a.GetStripTriangle(stripA, ta, u, nu);
        for (int tb = 0; tb < b.GetTrianglesPerStrip(); ++tb) {
            b.GetStripTriangle(stripB, tb, v, nv);
            if (geoTrianglesIntersect(u[0], u[1], u[2], nu, v[0], v[1], v[2], nv))
                return true;
        }
    }
    return false;
}

// Whether the convex polygon with normal n meets strip s of the mesh (always, without a grid).
bool PolygonAgainstStrip(const maVector3d* polygon, int count, const maVector3d& n,
                         const coPickPathMesh& mesh, int s) {
    if (!mesh.HasGrid())
        return true;
    if (mesh.IsStripClearOfPlane(s, n, maDot(n, polygon[0])))
        return false;
    maVector3d corners[3], normal;
    for (int t = 0; t < mesh.GetTrianglesPerStrip(); ++t) {
        mesh.GetStripTriangle(s, t, corners, normal);
        for (int j = 2; j < count; ++j) {
            if (geoTrianglesIntersect(corners[0], corners[1], corners[2], normal, polygon[0], polygon[j - 1],
                                      polygon[j], n))
                return true;
        }
    }
    return false;
}

// Face f of an oriented box (+x, -x, +y, -y, +z, -z): its four transformed corners and outward normal.
void BoxFace(const maVector3d corners[8], const maMatrix4d& transform, int f, maVector3d face[4],
             maVector3d& normal) {
    static const int kFaces[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                     {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    for (int i = 0; i < 4; ++i)
        face[i] = corners[kFaces[f][i]];
    normal = transform.GetAxis(f / 2);
    if (f % 2 == 1)
        normal = normal.Negate();
}

void TransformedCorners(const coOrientedBox& box, maVector3d corners[8]) {
    for (int i = 0; i < 8; ++i)
        corners[i] = box.transform.TransformPoint(box.local.GetCorner(i));
}

maBoundingBox WorldBoxOf(const coOrientedBox& box) {
    maVector3d corners[8];
    TransformedCorners(box, corners);
    maBoundingBox world;
    for (const maVector3d& c : corners)
        world.AddPoint(c);
    return world;
}

// The oriented box against every path segment of the mesh; with markers every hit segment is marked.
bool OrientedBoxAgainstMesh(const coOrientedBox& box, const coPickPathMesh& mesh, bool withMarkers,
                            int kind) {
    maVector3d corners[8];
    TransformedCorners(box, corners);
    const float r = CollisionRadius();
    bool hit = false;
    for (int i = 1; i < mesh.GetPointCount(); ++i) {
        for (int f = 0; f < 6; ++f) {
            maVector3d face[4], normal;
            BoxFace(corners, box.transform, f, face, normal);
            if (!PolygonAgainstStrip(face, 4, normal, mesh, i - 1))
                continue;
            if (!withMarkers)
                return true;
            AddMarker(MakeCollisionMarker(mesh.GetPoint(i - 1), mesh.GetPoint(i), r), &mesh, nullptr, kind);
            AddMarker(MakeBoxMarker(box), &mesh, nullptr, kind);
            hit = true;
            break;
        }
    }
    return hit;
}

void TestTerrain(const coPickPathMesh& mesh) {
    if (!mesh.HasGrid())
        return;
    const float r = CollisionRadius();
    const maBoundingBox grown = coBoxGrow(mesh.GetBounds(), r);
    std::vector<maVector3d> triangles;
    coGetCollisionPark().TrianglesInBox(grown.GetMin(), grown.GetMax(), triangles);
    if (triangles.empty() || mesh.GetPointCount() < 2)
        return;
    maVector3d corners[3], normal;
    for (int s = 0; s + 1 < mesh.GetPointCount(); ++s) {
        for (size_t k = 0; k + 3 < triangles.size(); k += 4) {
            const maVector3d* T = &triangles[k];
            if (mesh.IsStripClearOfPlane(s, T[3], maDot(T[3], T[0])))
                continue;
            for (int t = 0; t < mesh.GetTrianglesPerStrip(); ++t) {
                mesh.GetStripTriangle(s, t, corners, normal);
                if (geoTrianglesIntersect(corners[0], corners[1], corners[2], normal, T[0], T[1], T[2], T[3]))
                    AddMarker(MakeCollisionMarker(mesh.GetPoint(s), mesh.GetPoint(s + 1), r), &mesh, nullptr,
                              coMarkerTerrain);
            }
        }
    }
}

float SquaredDistance(const maVector3d& a, const maVector3d& b) {
    const maVector3d d = a - b;
    return maDot(d, d);
}

void TestTrack(const coPickPathMesh& mesh) {
    State& s = S();
    if (s.meshes.empty())
        s.tree.SetWorldBox(coGetCollisionPark().GetCollisionBounds());
    const float r = CollisionRadius();
    const std::vector<coPickPathMesh*> candidates = MeshesNear(mesh.GetBounds(), 2.0f * r);
    const int n = mesh.GetPointCount();
    for (int i = 1; i < n; ++i) {
        const maVector3d a = mesh.GetPoint(i - 1);
        const maVector3d d = mesh.GetPoint(i) - a;
        for (const coPickPathMesh* other : candidates) {
            const int m = other->GetPointCount();
            for (int j = 1; j < m; ++j) {
                if (i == 1 && j == m - 1 &&
                    SquaredDistance(mesh.GetPoint(0), other->GetPoint(m - 1)) < kJointTolerance)
                    continue; // the new piece starts where the other ends
                if (i == n - 1 && j == 1 &&
                    SquaredDistance(mesh.GetPoint(n - 1), other->GetPoint(0)) < kJointTolerance)
                    continue; // the new piece ends where the other starts
                const maVector3d b = other->GetPoint(j - 1);
                const maVector3d e = other->GetPoint(j) - b;
                if (!geoCylindersTouch(a, d, b, e, r, r))
                    continue;
                if (mesh.HasGrid() && other->HasGrid() && !StripsIntersect(mesh, i - 1, *other, j - 1))
                    continue;
                AddMarker(MakeCollisionMarker(b, other->GetPoint(j), r), &mesh, other, coMarkerTrack);
                AddMarker(MakeCollisionMarker(a, mesh.GetPoint(i), r), &mesh, other, coMarkerTrack);
            }
        }
    }
}

// 1 to 4 beyond the grid's lowest x, highest x, lowest z, highest z, 5 above the world's top, else 0.
int ParkBoundClass(const maVector3d& p) {
    const coCollisionPark& park = coGetCollisionPark();
    if (p.x < park.GetGridMinX())
        return 1;
    if (p.x > park.GetGridMaxX())
        return 2;
    if (p.z < park.GetGridMinZ())
        return 3;
    if (p.z > park.GetGridMaxZ())
        return 4;
    if (p.y > GetWorldMaxHeight())
        return 5;
    return 0;
}

bool IsFirstPieceOrLinked(const coCoasterPiece* piece) {
    const coCoasterPiece* first = coCircuitFirstPiece();
    return first && (piece == first || piece == first->GetPrevious() || piece == first->GetNext());
}

void TestParkAndProps(const coPickPathMesh& mesh, const coCoasterPiece* piece) {
    const coCollisionPark& park = coGetCollisionPark();
    const State& s = S();
    const float r = CollisionRadius();
    bool crowded = false;
    for (int i = 1; i < mesh.GetPointCount(); ++i) {
        const maVector3d& a = mesh.GetPoint(i - 1);
        const maVector3d& b = mesh.GetPoint(i);
        if (!park.IsBoxFree(coBoxGrow(maBoundingBox(a, b), r)))
            crowded = true;
        if (ParkBoundClass(b) != 0)
            AddMarker(MakeCollisionMarker(a, b, r), &mesh, nullptr, coMarkerOutOfPark);
    }
    if (!crowded || !(s.checksOn || s.forced))
        return;
    const maBoundingBox grown = coBoxGrow(mesh.GetBounds(), r);
    std::vector<coCollisionProp> props;
    park.FindPropsInBox(grown, props);
    for (const coCollisionProp& prop : props) {
        if (!prop.isTrackProp)
            OrientedBoxAgainstMesh(prop.box, mesh, true, coMarkerProp);
    }
    maBoundingBox dockWorld;
    coOrientedBox dock;
    if (park.GetDock(dockWorld, dock) && !IsFirstPieceOrLinked(piece) && coBoxesOverlap(dockWorld, grown))
        OrientedBoxAgainstMesh(dock, mesh, true, coMarkerDock);
}

} // namespace

void coRegisterPlacedPiece(coPickPathMesh* mesh, const coCoasterPiece* piece) {
    if (!mesh)
        return;
    State& s = S();
    if (std::find(s.meshes.begin(), s.meshes.end(), mesh) != s.meshes.end())
        coUnregisterPlacedPiece(mesh);
    TestTerrain(*mesh);
    TestTrack(*mesh);
    s.meshes.push_back(mesh);
    s.pieces.push_back(piece);
    s.tree.Insert(mesh);
    TestParkAndProps(*mesh, piece);
}

void coUnregisterPlacedPiece(coPickPathMesh* mesh) {
    State& s = S();
    for (size_t i = s.meshes.size(); i-- > 0;) {
        if (s.meshes[i] == mesh) {
            s.meshes.erase(s.meshes.begin() + static_cast<long>(i));
            s.pieces.erase(s.pieces.begin() + static_cast<long>(i));
        }
    }
    if (mesh)
        s.tree.Remove(mesh);
    auto named = [mesh](const coCollisionMarker& marker) {
        return marker.mesh == mesh || marker.other == mesh;
    };
    for (coCollisionMarker& marker : s.markers)
        if (named(marker))
            DeleteMarkerObject(marker);
    s.markers.erase(std::remove_if(s.markers.begin(), s.markers.end(), named), s.markers.end());
}

void coSetCollisionClearHook(void (*hook)()) {
    g_clearHook = hook;
}

void coCollisionClearMarkers() {
    State& s = S();
    for (coCollisionMarker& marker : s.markers)
        DeleteMarkerObject(marker);
    s.markers.clear();
    s.tree.Clear();
    if (g_clearHook)
        g_clearHook();
    s.meshes.clear();
    s.pieces.clear();
    FreeResources();
}

void coCollisionShowMarkers(bool show) {
    State& s = S();
    s.markersVisible = show;
    for (coCollisionMarker& marker : s.markers)
        if (marker.object)
            marker.object->SetVisible(show);
}

bool coCollisionHasMarkers() {
    return !S().markers.empty();
}

bool coCollisionHasKindFourMarker() {
    const auto& markers = S().markers;
    return std::any_of(markers.begin(), markers.end(),
                       [](const coCollisionMarker& marker) { return marker.kind == coMarkerOutOfPark; });
}

bool coCollisionOnlyAtJoint() {
    const coCoasterPiece* first = coCircuitFirstPiece();
    const coCoasterPiece* last = coCircuitLastPiece();
    auto atJoint = [first, last](const coPickPathMesh* mesh) {
        const coCoasterPiece* piece = mesh ? PieceOf(mesh) : nullptr;
        return piece && (piece == first || piece == last);
    };
    for (const coCollisionMarker& marker : S().markers) {
        if (!atJoint(marker.mesh))
            return false;
        if (marker.other ? !atJoint(marker.other) : marker.kind != coMarkerDock)
            return false;
    }
    return true;
}

void coSetCollisionChecks(bool on) {
    S().checksOn = on && !coPrefs::GetBool(coPrefDisablePropCollisions);
}

bool coGetCollisionChecks() {
    return S().checksOn;
}

void coCollisionSetForced(bool forced) {
    S().forced = forced;
}

bool coCollisionTestProp(const coOrientedBox& prop) {
    const State& s = S();
    if (!(s.checksOn || s.forced))
        return false;
    for (const coPickPathMesh* mesh : MeshesNear(WorldBoxOf(prop), CollisionRadius())) {
        if (OrientedBoxAgainstMesh(prop, *mesh, false, coMarkerProp))
            return true;
    }
    return false;
}

bool coCollisionBoxOverlaps(const maBoundingBox& box) {
    const float r = CollisionRadius();
    const maBoundingBox grown = coBoxGrow(box, r);
    const maVector3d low = grown.GetMin(), high = grown.GetMax();
    auto inside = [&low, &high](const maVector3d& p) {
        return p.x >= low.x && p.x <= high.x && p.y >= low.y && p.y <= high.y && p.z >= low.z &&
               p.z <= high.z;
    };
    for (const coPickPathMesh* mesh : MeshesNear(box, r)) {
        for (int i = 1; i < mesh->GetPointCount(); ++i) {
            const maVector3d& a = mesh->GetPoint(i - 1);
            const maVector3d& b = mesh->GetPoint(i);
            // The segment test finds where a segment enters the box, so one that starts inside counts by
            // its end point.
            float t = 0.0f;
            if (inside(a) || inside(b) || geoIntersectSegmentBox(a, b - a, low, high, t))
                return true;
        }
    }
    return false;
}

bool coCollisionTestSupport(const maVector3d& a, const maVector3d& b, float radius) {
    bool contact = false;
    for (const coPickPathMesh* mesh : MeshesNear(maBoundingBox(a, b), radius)) {
        for (int i = 1; i < mesh->GetPointCount(); ++i) {
            const maVector3d& start = mesh->GetPoint(i - 1);
            float t = 0.0f;
            if (geoSegmentsWithinDistance(a, b - a, start, mesh->GetPoint(i) - start, radius, t))
                contact = true;
        }
    }
    return contact;
}

bool coCollisionTestWoodSupport(const maVector3d* points, int count, const maVector3d& normal, float& height,
                                const maBoundingBox& box) {
    if (count < 3)
        return false;
    bool hit = false;
    for (const coPickPathMesh* mesh : MeshesNear(box, CollisionRadius())) {
        for (int i = 1; i < mesh->GetPointCount(); ++i) {
            if (!PolygonAgainstStrip(points, count, normal, *mesh, i - 1))
                continue;
            const float lower = std::min(mesh->GetPoint(i - 1).y, mesh->GetPoint(i).y);
            height = hit ? std::max(height, lower) : lower;
            hit = true;
        }
    }
    return hit;
}

coPickPathMesh* coCollisionPickPiece(const maVector3d& from, const maVector3d& to, float& t) {
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    const float radius = definition.GetPickPathRadius() > 0.0f ? definition.GetPickPathRadius()
                                                               : definition.GetExtrusionScale();
    t = 1.0f;
    coPickPathMesh* best = nullptr;
    for (coPickPathMesh* mesh : S().meshes) {
        const std::vector<maVector3d>& points = coPathPoints(*mesh);
        for (size_t i = 1; i < points.size(); ++i) {
            float hit = 0.0f;
            if (geoSegmentsWithinDistance(from, to - from, points[i - 1], points[i] - points[i - 1], radius,
                                          hit) &&
                (!best || hit < t)) {
                best = mesh;
                t = hit;
            }
        }
    }
    return best;
}

bool coCollisionTestRing(const coRingShape& ring) {
    const maVector3d reach(ring.radius, ring.radius, ring.radius);
    std::vector<coPickPathMesh*> candidates;
    S().tree.Query(maBoundingBox(ring.centre - reach, ring.centre + reach), candidates);
    for (const coPickPathMesh* mesh : candidates) {
        for (int i = 1; i < mesh->GetPointCount(); ++i) {
            const maVector3d& a = mesh->GetPoint(i - 1);
            const maVector3d e = mesh->GetPoint(i) - a;
            if (ring.kind == 0 && maDot(e, ring.normal) < 0.0f)
                continue; // a one-way ring is passed only by track running along its facing
            float t = 1.01f;
            geoIntersectLinePlane(a, e, ring.centre, ring.normal, t);
            if (t >= 0.0f && t < 1.0f && SquaredDistance(a + e * t, ring.centre) < ring.radius * ring.radius)
                return true;
        }
    }
    return false;
}

void coCollisionMarkPiece(const coPickPathMesh* mesh) {
    if (!mesh)
        return;
    const float r = CollisionRadius();
    for (int i = 1; i < mesh->GetPointCount(); ++i)
        AddMarker(MakeCollisionMarker(mesh->GetPoint(i - 1), mesh->GetPoint(i), r), mesh, nullptr,
                  coMarkerPiece);
}

const std::vector<coCollisionMarker>& coCollisionGetMarkers() {
    return S().markers;
}

const std::vector<coPickPathMesh*>& coCollisionGetRegistered() {
    return S().meshes;
}

void coBuildBeamMesh(std::vector<maVector3d>& positions, std::vector<maVector3d>& normals,
                     std::vector<u16>& indices) {
    constexpr float a = 0.387868f * 2.5f;
    constexpr float b = 0.274264f * 2.5f;
    static const maVector2d kRing[9] = {{0, a},  {-b, b}, {-a, 0}, {-b, -b}, {0, -a},
                                        {b, -b}, {a, 0},  {b, b},  {0, a}};
    positions.clear();
    for (const float z : {0.0f, 1.0f})
        for (const maVector2d& p : kRing)
            positions.emplace_back(p.x, p.y, z);
    normals.assign(positions.size(), maVector3d(0, 1, 0));
    indices.clear();
    // Each side's two triangles, then the same two wound the other way.
    for (int c = 0; c < 8; ++c) {
        for (const int k : {c, c + 10, c + 9, c + 10, c, c + 1, c, c + 9, c + 10, c + 10, c + 1, c})
            indices.push_back(static_cast<u16>(k));
    }
}
