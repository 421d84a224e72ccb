#include "Source/TrackGeom/coSupportMakerWood.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coTrackObjects.h"

#include <algorithm>
#include <cmath>

namespace {

// The walls hang this far out from the centre line, whatever the definition's XOffset says.
constexpr float kSideOffset = 2.5f;
// The quad tested against obstacles starts this far below the track, so the track itself is not hit.
constexpr float kTopClearance = 0.5f;
constexpr int kMaxSamples = 1024;

// The two triangles of each face of the oriented box, in world space.
void BoxFaceTriangles(const coOrientedBox& box, maVector3d (&triangles)[12][3]) {
    static constexpr int kFaces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                         {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    maVector3d corners[8];
    for (int i = 0; i < 8; ++i)
        corners[i] = box.transform.TransformPoint(box.local.GetCorner(i));
    for (int f = 0; f < 6; ++f) {
        const int* q = kFaces[f];
        triangles[2 * f][0] = corners[q[0]];
        triangles[2 * f][1] = corners[q[1]];
        triangles[2 * f][2] = corners[q[2]];
        triangles[2 * f + 1][0] = corners[q[0]];
        triangles[2 * f + 1][1] = corners[q[2]];
        triangles[2 * f + 1][2] = corners[q[3]];
    }
}

// Whether the wall quad (two triangles) meets a face of the box; the box's top is then the obstacle's
// height, so a box reaching above the track blocks the wall and a lower one lifts it.
bool QuadHitsBox(const maVector3d (&quad)[4], const coOrientedBox& box, float& height) {
    maVector3d faces[12][3];
    BoxFaceTriangles(box, faces);
    const maVector3d halves[2][3] = {{quad[0], quad[1], quad[2]}, {quad[0], quad[2], quad[3]}};
    for (const auto& half : halves) {
        const maVector3d n = coTriangleNormal(half[0], half[1], half[2]);
        for (const auto& face : faces) {
            const maVector3d m = coTriangleNormal(face[0], face[1], face[2]);
            if (!geoTrianglesIntersect(half[0], half[1], half[2], n, face[0], face[1], face[2], m))
                continue;
            height = -maMaxFloat;
            for (int i = 0; i < 8; ++i)
                height = std::max(height, box.transform.TransformPoint(box.local.GetCorner(i)).y);
            return true;
        }
    }
    return false;
}

void AddWallFragment(const std::vector<maVector3d>& positions, const std::vector<maVector3d>& normals,
                     const std::vector<maVector2d>& uvs, const std::vector<u16>& indices,
                     const coSupportPlane& plane, coSceneObjectSet& set) {
    g3dMaterial* material = coMaterialOrDefault(plane.material.get());
    g3dFragment* fragment = g3dFragmentManager::CreateFragmentPNT2(
        positions.data(), normals.data(), uvs.data(), static_cast<u32>(positions.size()), indices.data(),
        static_cast<u32>(indices.size()), &material, nullptr, 1, false);
    if (!fragment)
        return;
    set.AddFragment(fragment);
    coAddTrackObject(set, plane.group, coTrackObjectKind::Movable, fragment);
}

} // namespace

int coSupportMakerWood::SampleCount(float span, float spacing) {
    if (!(spacing > 0.0f))
        return 2;
    const float samples = span / spacing + 0.5f;
    if (!(samples >= 0.0f))
        return 0;
    if (!(samples < static_cast<float>(kMaxSamples))) {
        DBG_WARNING("wall samples cut to %d (span %g, spacing %g)", kMaxSamples, double(span),
                    double(spacing));
        return kMaxSamples;
    }
    return static_cast<int>(samples) + 1;
}

bool coSupportMakerWood::MakeSupports(const coCoasterPiece& piece, coSceneObjectSet& set) {
    float span = piece.GetSpan();
    if (dynamic_cast<const coCoasterPieceLoop*>(&piece))
        span *= 2.0f;
    bool built = false;
    for (const auto& plane : GetPlanes()) {
        const int n = SampleCount(span, plane->spacing);
        if (n < 2)
            continue;
        std::vector<maVector3d> left(static_cast<size_t>(n)), right(left.size()), ups(left.size());
        for (int k = 0; k < n; ++k) {
            const maMatrix4d frame = piece.FrameAt(static_cast<float>(k) / static_cast<float>(n - 1));
            const auto i = static_cast<size_t>(k);
            left[i] = frame.TransformPoint(maVector3d(kSideOffset, 0.0f, 0.0f));
            right[i] = frame.TransformPoint(maVector3d(-kSideOffset, 0.0f, 0.0f));
            ups[i] = frame.GetYAxis();
        }
        // Both walls are always tried: the right one is built even when the left one was.
        const bool leftBuilt = coBuildWoodWall(left, set, ups, *plane, true, false);
        const bool rightBuilt = coBuildWoodWall(right, set, ups, *plane, false, false);
        built = built || leftBuilt || rightBuilt;
    }
    return built;
}

std::vector<int> coWoodWallFragmentStarts(int segments) {
    std::vector<int> starts;
    if (segments < 1)
        return starts;
    const int m = segments - 1;
    const int chunks = m / 4 + 1;
    const int perFragment = m / chunks + 1;
    for (int start = 0; start < segments; start += perFragment)
        starts.push_back(start);
    return starts;
}

bool coBuildWoodWall(const std::vector<maVector3d>& P, coSceneObjectSet& set,
                     const std::vector<maVector3d>& U, const coSupportPlane& plane, bool front,
                     bool twoSided) {
    const int segments = static_cast<int>(P.size()) - 1;
    if (segments < 1 || U.size() < P.size())
        return false;
    const float s = plane.spacing == 0.0f ? 1.0f : plane.spacing;
    twoSided = twoSided || plane.group == 0;
    const std::vector<int> starts = coWoodWallFragmentStarts(segments);
    bool built = false;
    for (size_t f = 0; f < starts.size(); ++f) {
        const int end = f + 1 < starts.size() ? starts[f + 1] : segments;
        std::vector<maVector3d> positions, normals;
        std::vector<maVector2d> uvs;
        std::vector<u16> indices;
        for (int j = starts[f]; j < end; ++j) {
            const maVector3d& p0 = P[static_cast<size_t>(j)];
            const maVector3d& p1 = P[static_cast<size_t>(j + 1)];
            maVector3d b0 = coGroundBelow(p0);
            maVector3d b1 = coGroundBelow(p1);
            maVector3d n = coTriangleNormal(p0, p1, b0);
            if (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f)
                n = maVector3d(1.0f, 0.0f, 0.0f);
            if (!front)
                n = n.Negate();
            if (U[static_cast<size_t>(j)].y < 0.0f || U[static_cast<size_t>(j + 1)].y < 0.0f)
                continue;
            if (coWoodWallBlocked(p0, p1, b0, b1, n, s))
                continue;
            const auto k = static_cast<u16>(positions.size());
            positions.insert(positions.end(), {p0, p1, b1, b0});
            normals.insert(normals.end(), 4, n);
            uvs.insert(uvs.end(), {maVector2d(0.0f, p0.y / s), maVector2d(1.0f, p1.y / s),
                                   maVector2d(1.0f, b1.y / s), maVector2d(0.0f, b0.y / s)});
            const u16 k1 = k + 1, k2 = k + 2, k3 = k + 3;
            if (front || twoSided)
                indices.insert(indices.end(), {k, k1, k2, k, k2, k3});
            if (!front || twoSided)
                indices.insert(indices.end(), {k, k2, k1, k, k3, k2});
        }
        if (positions.empty())
            continue;
        AddWallFragment(positions, normals, uvs, indices, plane, set);
        built = true;
    }
    return built;
}

bool coWoodWallBlocked(const maVector3d& P0, const maVector3d& P1, maVector3d& B0, maVector3d& B1,
                       const maVector3d& N, float spacing) {
    const float top = std::min(P0.y, P1.y);
    maBoundingBox box(B0, B1);
    box.AddPoint(P0.y <= P1.y ? P0 : P1);
    const maVector3d lowered(0.0f, kTopClearance, 0.0f);
    const maVector3d quad[4] = {P0 - lowered, P1 - lowered, B1, B0};

    bool hit = false;
    float highest = -maMaxFloat;
    // A hit above the track blocks the segment; lower ones are remembered.
    auto obstacle = [&](float h) {
        hit = true;
        highest = std::max(highest, h);
        return h > top;
    };

    const coCollisionPark& park = coGetCollisionPark();
    std::vector<coCollisionProp> props;
    park.FindPropsInBox(box, props);
    float h = 0.0f;
    for (const coCollisionProp& prop : props)
        if (QuadHitsBox(quad, prop.box, h) && obstacle(h))
            return true;
    maBoundingBox dockWorld;
    coOrientedBox dock;
    if (park.GetDock(dockWorld, dock) && dockWorld.minX <= box.maxX && dockWorld.maxX >= box.minX &&
        dockWorld.minY <= box.maxY && dockWorld.maxY >= box.minY && dockWorld.minZ <= box.maxZ &&
        dockWorld.maxZ >= box.minZ && QuadHitsBox(quad, dock, h) && obstacle(h))
        return true;
    if (coCollisionTestWoodSupport(quad, 4, N, h, box) && obstacle(h))
        return true;
    if (!hit)
        return false;

    const float E = coGetCoasterDefinition().GetExtrusionScale();
    const float level = (std::trunc((highest + E) / spacing) + 1.0f) * spacing;
    if (level >= top)
        return true;
    B0.y = level;
    B1.y = level;
    return false;
}
