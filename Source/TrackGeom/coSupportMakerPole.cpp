#include "Source/TrackGeom/coSupportMakerPole.h"

#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coParkWorld.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackObjects.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Where along the piece its first and second support stand: these fractions, not thirds.
constexpr float kSupportPositions[2] = {0.33f, 0.66f};
// Poles reach this far into the ground.
constexpr float kGroundDepth = 10.0f;
// How far a portal's leg is cast against the terrain, horizontally.
constexpr float kLegReach = 300.0f;
// The track test starts half a unit below the attachment, so the track the pole holds is not hit.
constexpr float kTrackClearance = 0.5f;

// q moved horizontally to XOffset from `from`, at from's height; q stays when it lies straight above or
// below.
maVector3d ReachOut(const maVector3d& from, maVector3d q, float reach) {
    q.y = from.y;
    const maVector3d d = q - from;
    const float length = d.Length();
    return length > 0.0f ? from + d * (reach / length) : q;
}

bool IsLoop(const coCoasterPiece& piece) {
    return dynamic_cast<const coCoasterPieceLoop*>(&piece) != nullptr;
}

bool IsCorkscrew(const coCoasterPiece& piece) {
    return dynamic_cast<const coCoasterPieceCorkscrew*>(&piece) != nullptr;
}

void PlaceModels(const std::vector<std::unique_ptr<coSupportGeometry>>& entries, bool arm,
                 const coTrackObjectPlacement& placement, coSceneObjectSet& set) {
    for (const auto& entry : entries) {
        if ((arm && entry->group > 1) || !entry->model)
            continue;
        for (int m = 0; m < entry->model->GetModelCount(); ++m)
            coAddTrackObject(set, entry->group, coTrackObjectKind::Placed, entry->model->GetModel(m),
                             placement);
    }
}

// One pole section as two rings, at a and at b; false when the outline is empty.
bool ExtrudePole(const coSupportPole& pole, const maVector3d& a, const maVector3d& d, float length,
                 const maRotation& orientation, coSceneObjectSet& set) {
    const int n = pole.GetVertexCount();
    if (n == 0)
        return false;
    std::vector<maVector2d> outlineNormals;
    computeVertexNormals(pole, outlineNormals);
    const float spacing = pole.GetTextureSpacing();
    const float repeats = spacing > 0.0f ? std::trunc(length / spacing) : 1.0f;
    const auto total = static_cast<size_t>(2 * n);
    std::vector<maVector3d> positions(total), normals(total);
    std::vector<maVector2d> uvs(total);
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < n; ++i) {
            const size_t v = static_cast<size_t>(k * n + i);
            const maVector2d& point = pole.GetVertex(i);
            const maVector2d& normal = outlineNormals[static_cast<size_t>(i)];
            maVector3d offset(point.x, point.y, 0.0f);
            orientation.Rotate(offset);
            positions[v] = a + d * static_cast<float>(k) + offset;
            normals[v] = maVector3d(normal.x, normal.y, 0.0f);
            orientation.Rotate(normals[v]);
            const float u = n == 1 ? 0.0f : static_cast<float>(i) / static_cast<float>(n - 1);
            uvs[v] = maVector2d(u, static_cast<float>(k) * repeats);
        }
    }
    g3dMaterial* material = coMaterialOrDefault(pole.GetMaterial());
    g3dFragment* fragment = nullptr;
    if (n == 1) {
        const u16 line[2] = {0, 1};
        fragment = g3dFragmentManager::CreateFragmentPN(positions.data(), normals.data(), 2, line, 2,
                                                        &material, nullptr, 1, false);
    } else {
        std::vector<u16> indices;
        for (int i = 0; i + 1 < n; ++i) {
            const auto top = static_cast<u16>(i);
            const auto bottom = static_cast<u16>(i + n);
            indices.insert(indices.end(), {top, static_cast<u16>(bottom + 1), bottom,
                                           static_cast<u16>(bottom + 1), top, static_cast<u16>(top + 1)});
        }
        fragment = g3dFragmentManager::CreateFragmentPNT2(
            positions.data(), normals.data(), uvs.data(), static_cast<u32>(total), indices.data(),
            static_cast<u32>(indices.size()), &material, nullptr, 1, false);
    }
    if (fragment) {
        // Poles never move: a static object even for a transparent material.
        set.AddFragment(fragment);
        coAddTrackObject(set, pole.GetLOD(), coTrackObjectKind::Static, fragment);
    }
    return true;
}

} // namespace

bool coSupportMakerPole::MakeSupports(const coCoasterPiece& piece, coSceneObjectSet& set) {
    const bool inverted = coGetCoasterDefinition().GetInverted();
    const int kind = SupportKind(piece, inverted);
    const int count = SupportCount(piece, kind, inverted);
    const float x = GetXOffset();
    const float y = GetYOffset();
    bool built = false;
    for (int s = 0; s < count; ++s) {
        const maMatrix4d frame = piece.FrameAt(kSupportPositions[s]);
        const maVector3d p = frame.GetTranslation();
        if (kind == 0) {
            const maVector3d g = coGroundBelow(p);
            if (coIsSupportPathClear(p, g)) {
                AddSegment(p, g, set, false);
                built = true;
            }
        } else if (kind == 1 || kind == 3) {
            maVector3d q = kind == 1 ? frame.TransformPoint(maVector3d(0.0f, inverted ? y : -y, 0.0f))
                                     : frame.TransformPoint(maVector3d(x, 0.0f, 0.0f));
            if (kind == 1 && q.x == p.x && q.z == p.z) {
                const maVector3d g = coGroundBelow(p);
                if (coIsSupportPathClear(p, g)) {
                    AddSegment(p, g, set, false);
                    built = true;
                }
                continue;
            }
            q = ReachOut(p, q, x);
            const maVector3d g = coGroundBelow(q);
            if (coIsSupportPathClear(q, g)) {
                AddSegment(p, q, set, true);
                AddSegment(q, g, set, false);
                built = true;
            }
        } else if (kind == 4) {
            const maVector3d c = p + maVector3d(0.0f, y, 0.0f);
            const maVector3d qL = ReachOut(c, frame.TransformPoint(maVector3d(-x, 0.0f, 0.0f)), x);
            const maVector3d qR = ReachOut(c, frame.TransformPoint(maVector3d(x, 0.0f, 0.0f)), x);
            bool stands[2] = {false, false};
            const maVector3d* tops[2] = {&qL, &qR};
            for (int leg = 0; leg < 2; ++leg) {
                const maVector3d end = LegEnd(c, *tops[leg]);
                if (coIsSupportPathClear(*tops[leg], end)) {
                    AddSegment(*tops[leg], end, set, false);
                    stands[leg] = true;
                    built = true;
                }
            }
            if (!stands[0] && !stands[1])
                continue;
            const maVector3d d = qR - c;
            AddJoint(p, maVector3d(-d.z, 0.0f, d.x), set, !(stands[0] && stands[1]), !stands[0]);
        }
    }
    return built;
}

void coSupportMakerPole::AddSegment(const maVector3d& a, const maVector3d& b, coSceneObjectSet& set,
                                    bool arm) const {
    const maVector3d d = b - a;
    const float length = d.Length();
    if (length > 0.0f) {
        maRotation orientation;
        if (d.x == 0.0f && d.y == 0.0f) {
            if (d.z < 0.0f)
                orientation.SetAxisAngle(maVector3d(0.0f, 1.0f, 0.0f), maPiF);
        } else {
            orientation.SetFromVectors(maVector3d(0.0f, 0.0f, 1.0f), d);
        }
        for (const auto& pole : GetPoles()) {
            if (arm && pole->GetLOD() > 1)
                continue;
            // An empty outline ends the sections of this segment.
            if (!ExtrudePole(*pole, a, d, length, orientation, set))
                break;
        }
    }
    const maVector3d up = a - b;
    if (GetPoleGeometry().empty() || up.Length() == 0.0f)
        return;
    coTrackObjectPlacement placement;
    placement.position = b;
    placement.rotation.SetFromVectors(maVector3d(0.0f, 1.0f, 0.0f), up);
    placement.scale = maVector3d(1.0f, up.Length(), 1.0f);
    PlaceModels(GetPoleGeometry(), arm, placement, set);
}

void coSupportMakerPole::AddJoint(const maVector3d& point, maVector3d dir, coSceneObjectSet& set, bool half,
                                  bool flip) const {
    if (flip)
        dir = dir.Negate();
    coTrackObjectPlacement placement;
    placement.position = point;
    placement.rotation.SetAxisAngle(maVector3d(0.0f, 1.0f, 0.0f), std::atan2(dir.x, dir.z));
    PlaceModels(half ? GetHalfJointGeometry() : GetJointGeometry(), false, placement, set);
}

int coSupportMakerPole::SupportKind(const coCoasterPiece& piece, bool inverted) {
    const float roll = std::fabs(piece.GetRoll(0));
    if (IsCorkscrew(piece))
        return 1;
    if (IsLoop(piece))
        return inverted && roll < coDegrees(45.0f) ? 3 : 1;
    if (roll <= coDegrees(45.0f))
        return inverted ? 4 : 0;
    if (roll < coDegrees(135.0f))
        return 1;
    return inverted ? 0 : 4;
}

int coSupportMakerPole::SupportCount(const coCoasterPiece& piece, int kind, bool inverted) {
    int count = 0;
    if (IsLoop(piece) || IsCorkscrew(piece)) {
        count = 2;
    } else {
        const int n = coCircuitPieceCount() / 200 + (inverted ? 1 : 0);
        count = n < 1 || coCircuitIndexOf(&piece) % (n + 1) == 1 ? 1 : 0;
    }
    return kind == 4 ? std::min(count, 1) : count;
}

maVector3d coSupportMakerPole::LegEnd(const maVector3d& c, const maVector3d& q) const {
    // The lean in whole degrees; kept within 0..89, where a leg still runs downwards (at 90 the tangent
    // turns and the leg would climb). At 0 the leg stands straight on the ground below q.
    const int lean = std::clamp(static_cast<int>(GetSupportAngle()), 0, 89);
    if (lean == 0)
        return coGroundBelow(q);
    maVector3d u(q.x - c.x, 0.0f, q.z - c.z);
    if (const float length = u.Length(); length > 0.0f)
        u = u / length;
    u.y = -std::tan(coDegrees(static_cast<float>(90 - lean)));
    maVector3d hit;
    if (coGetParkWorld().IntersectSegment(q, q + u * kLegReach, hit))
        return hit;
    return coGroundBelow(q);
}

bool coIsSupportPathClear(const maVector3d& a, const maVector3d& b) {
    const maVector3d start(a.x, a.y - kTrackClearance, a.z);
    if (coCollisionTestSupport(start, b, coGetCoasterDefinition().GetExtrusionScale()))
        return false;
    const coCollisionPark& park = coGetCollisionPark();
    std::vector<coCollisionProp> props;
    park.FindPropsInBox(maBoundingBox(a, b), props);
    if (!props.empty())
        return false;
    maBoundingBox dockBox;
    coOrientedBox dock;
    float t = 0.0f;
    return !(park.GetDock(dockBox, dock) &&
             geoIntersectSegmentBox(a, b - a, dockBox.GetMin(), dockBox.GetMax(), t));
}

maVector3d coGroundBelow(const maVector3d& point) {
    float height = 0.0f;
    if (!coGetParkWorld().GetHeightAt(point.x, point.z, height))
        height = 0.0f;
    return maVector3d(point.x, height - kGroundDepth, point.z);
}

void coMakeTargetRingSupport(const coShadowRing& ring, coSceneObjectSet& set) {
    const maVector3d top = ring.position - maVector3d(0.0f, 1.4f * ring.radius, 0.0f);
    if (auto* maker = dynamic_cast<coSupportMakerPole*>(coGetTrackDefinitionSource().GetSupportMaker()))
        maker->AddSegment(coGroundBelow(top), top, set, false);
    coMakeTargetRingShadow(ring, set);
}
