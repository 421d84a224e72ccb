#include "Source/TrackGeom/coTrackShadows.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coParkWorld.h"
#include "Source/TrackGeom/coTrackObjects.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

// Shadows lie this far above the ground, so the terrain does not cut through them.
constexpr float kLift = 0.45f;
constexpr float kCastLength = 1000.0f;
constexpr float kSamplesPerUnit = 0.8f;
// 6 (n - 1) indices must fit in 16 bits.
constexpr int kMaxSamples = 10923;
constexpr int kDiscPoints = 16;

struct ShadowState {
    maVector3d direction{0.0f, -1.0f, 0.0f};
    int mode = coShadowsOff;
    std::unique_ptr<g3dMaterial> material;
    g3dTexture* texture = nullptr;
};

ShadowState& State() {
    static ShadowState state;
    return state;
}

// Swaps the last two corners of each triangle that would face down.
void FaceUp(const std::vector<maVector3d>& p, std::vector<u16>& indices) {
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        const maVector3d& p0 = p[indices[i]];
        const maVector3d& p1 = p[indices[i + 1]];
        const maVector3d& p2 = p[indices[i + 2]];
        if ((p1.z - p0.z) * (p2.x - p0.x) - (p2.z - p0.z) * (p1.x - p0.x) < 0.0f)
            std::swap(indices[i + 1], indices[i + 2]);
    }
}

// The triangles of a band of n vertex pairs.
std::vector<u16> BandIndices(int n) {
    std::vector<u16> indices;
    for (int i = 0; i + 1 < n; ++i) {
        const auto a = static_cast<u16>(2 * i);
        const u16 b = a + 1, c = a + 2, d = a + 3;
        indices.insert(indices.end(), {a, d, c, d, a, b});
    }
    return indices;
}

// The fragment with the shadow material, shown by a movable object in the shadow list, group 0. Returns the
// object made, or null.
scObject* AddShadowObject(const std::vector<maVector3d>& positions, const std::vector<maVector2d>& uvs,
                          std::vector<u16>& indices, coSceneObjectSet& set) {
    FaceUp(positions, indices);
    const std::vector<maVector3d> normals(positions.size(), maVector3d(0.0f, 1.0f, 0.0f));
    g3dMaterial* material = State().material.get();
    g3dFragment* fragment = g3dFragmentManager::CreateFragmentPNT2(
        positions.data(), normals.data(), uvs.data(), static_cast<u32>(positions.size()), indices.data(),
        static_cast<u32>(indices.size()), material ? &material : nullptr, nullptr, material ? 1 : 0, false);
    if (!fragment)
        return nullptr;
    set.AddFragment(fragment);
    const int before = set.HasObjectsIn(0) ? static_cast<int>(set.GetGroup(0).size()) : 0;
    coAddTrackObject(set, 0, coTrackObjectKind::Movable, fragment, {}, coShadowRenderList);
    if (!set.HasObjectsIn(0) || static_cast<int>(set.GetGroup(0).size()) == before)
        return nullptr;
    return set.GetGroup(0).back().get();
}

} // namespace

void coSetShadowDirection(const maVector3d& v) {
    maVector3d d = v;
    const float horizontal = std::sqrt(v.x * v.x + v.y * v.y);
    d.y = v.y > 0.0f ? horizontal : -horizontal;
    const float length = d.Length();
    if (length > 0.0f)
        d = d / length;
    State().direction = d;
}

const maVector3d& coGetShadowDirection() {
    return State().direction;
}

void coSetShadowsEnabled(int mode) {
    State().mode = mode;
}

int coGetShadowsEnabled() {
    return State().mode;
}

void coCreateShadowMaterial() {
    ShadowState& state = State();
    if (!state.texture) {
        fsLocator file(coRootEnvironments);
        file.AppendComponent("shadow.png");
        state.texture = coAcquireTexture(file);
    }
    if (!state.material) {
        state.material = std::make_unique<g3dMaterial>();
        state.material->SetDiffuse({1.0f, 1.0f, 1.0f, 1.0f});
        state.material->SetAmbient({1.0f, 1.0f, 1.0f, 1.0f});
        state.material->SetSpecular({0.0f, 0.0f, 0.0f, 1.0f});
        if (state.texture)
            state.material->AddTextureStage(state.texture, 0);
    }
}

void coDestroyShadowMaterial() {
    ShadowState& state = State();
    state.material.reset();
    if (state.texture)
        coReleaseTexture(state.texture);
    state.texture = nullptr;
}

g3dMaterial* coGetShadowMaterial() {
    return State().material.get();
}

maVector3d coShadowGroundPoint(const maVector3d& p) {
    const coParkWorld& world = coGetParkWorld();
    if (State().mode == coShadowsAlongDirection) {
        maVector3d hit;
        if (world.IntersectSegment(p, p + State().direction * kCastLength, hit))
            return maVector3d(hit.x, hit.y + kLift, hit.z);
        return maVector3d(p.x, kLift, p.z);
    }
    float height = 0.0f;
    const float ground = world.GetHeightAt(p.x, p.z, height) ? height + kLift : kLift;
    return maVector3d(p.x, ground > p.y ? p.y : ground, p.z);
}

int coShadowSampleCount(float length) {
    const float samples = length * kSamplesPerUnit;
    if (!(samples >= 2.0f))
        return 2;
    if (!(samples < static_cast<float>(kMaxSamples + 1))) {
        DBG_WARNING("shadow samples cut to %d (length %g)", kMaxSamples, double(length));
        return kMaxSamples;
    }
    return static_cast<int>(samples);
}

void coMakeStripShadow(const maVector3d& s, const maVector3d& d, float L, coSceneObjectSet& set) {
    const int n = coShadowSampleCount(L);
    const maVector3d A = maVector3d(d.z, d.y, -d.x) * 0.5f;
    const maVector3d B = maVector3d(-d.z, d.y, d.x) * 0.5f;
    std::vector<maVector3d> positions;
    std::vector<maVector2d> uvs;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n - 1);
        const maVector3d c = s + d * (t * L);
        positions.push_back(coShadowGroundPoint(c + B));
        positions.push_back(coShadowGroundPoint(c + A));
        uvs.insert(uvs.end(), {maVector2d(0.0f, 0.5f), maVector2d(1.0f, 0.5f)});
    }
    std::vector<u16> indices = BandIndices(n);
    AddShadowObject(positions, uvs, indices, set);
}

void coMakeDiscShadow(const maVector3d& c, const maRotation& q, float r, coSceneObjectSet& set) {
    std::vector<maVector3d> positions{coShadowGroundPoint(c)};
    std::vector<maVector2d> uvs{maVector2d(0.5f, 0.5f)};
    for (int k = 1; k <= kDiscPoints; ++k) {
        const float a = static_cast<float>(k - 1) * 2.0f * maPiF / kDiscPoints;
        maVector3d rim(r * std::cos(a), r * std::sin(a), 0.0f);
        q.Rotate(rim);
        positions.push_back(coShadowGroundPoint(c + rim));
        uvs.emplace_back(1.0f, 0.5f);
    }
    std::vector<u16> indices;
    for (u16 k = 1; k < kDiscPoints; ++k)
        indices.insert(indices.end(), {0, k, static_cast<u16>(k + 1)});
    indices.insert(indices.end(), {0, kDiscPoints, 1});
    AddShadowObject(positions, uvs, indices, set);
}

void coMakePieceShadow(const coCoasterPiece& piece, coSceneObjectSet& set) {
    const int n = coShadowSampleCount(piece.GetLength());
    std::vector<maVector3d> positions;
    std::vector<maVector2d> uvs;
    for (int i = 0; i < n; ++i) {
        const maMatrix4d frame = piece.FrameAt(static_cast<float>(i) / static_cast<float>(n - 1));
        positions.push_back(coShadowGroundPoint(frame.TransformPoint(maVector3d(1.0f, 0.0f, 0.0f))));
        positions.push_back(coShadowGroundPoint(frame.TransformPoint(maVector3d(-1.0f, 0.0f, 0.0f))));
        uvs.insert(uvs.end(), {maVector2d(0.0f, 0.5f), maVector2d(1.0f, 0.5f)});
    }
    std::vector<u16> indices = BandIndices(n);
    if (scObject* shadow = AddShadowObject(positions, uvs, indices, set))
        shadow->SetVisible(coPrefs::GetBool(coPrefTrackShadows));
}

void coMakeTargetRingShadow(const coShadowRing& ring, coSceneObjectSet& set) {
    const float r = 1.4f * ring.radius;
    if (std::fabs(ring.pitch) >= coDegrees(10.0f)) {
        coMakeDiscShadow(ring.position, ring.rotation, r, set);
        return;
    }
    const maVector3d& n = ring.normal;
    const maVector3d d(n.z, n.y, -n.x);
    coMakeStripShadow(ring.position - d * r, d, 2.0f * r, set);
}
