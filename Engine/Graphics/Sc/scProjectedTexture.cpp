#include "Engine/Graphics/Sc/scProjectedTexture.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr u32 kProjectedMode = 1;

// Never destroyed, like the update list, for objects that leave it at exit.
std::vector<scObject*>& Receivers() {
    static std::vector<scObject*>& receivers = *new std::vector<scObject*>;
    return receivers;
}

bool HasProjectedStage(const g3dMaterial& material) {
    const u32 count = material.GetStageCount();
    return count > 0 && material.GetStage(count - 1).mode == kProjectedMode;
}

// What one pass needs to project: the projector's matrix into its mirrored clip space and its eye.
struct Projector {
    maMatrix4d matrix;
    maVector3d eye;
    g3dTexture* texture; // none: take the stage away
};

void ProjectOnto(g3dFragment& fragment, const maMatrix4d& world, const Projector& projector) {
    for (u32 i = 0; i < fragment.GetMaterialCount(); ++i) {
        g3dMaterial* material = fragment.GetMaterial(i);
        if (!material)
            continue;
        if (!projector.texture) {
            if (HasProjectedStage(*material))
                material->RemoveTextureStage(material->GetStageCount() - 1);
        } else if (fragment.GetVertexKind() != g3dVertexKind::PN && !HasProjectedStage(*material)) {
            material->AddTextureStage(projector.texture, kProjectedMode);
        }
    }
    // Line fragments carry no coordinate pair to write.
    const u8 kind = fragment.GetVertexKind();
    if (!projector.texture || kind == g3dVertexKind::PN || g3dVertexStride(kind) == 0)
        return;
    const u32 stride = g3dVertexStride(kind) / sizeof(float);
    const u32 pairOffset = stride - 2;
    float* vertices = reinterpret_cast<float*>(fragment.GetVertices());
    const u16* indices = fragment.GetIndices();
    const float* m = projector.matrix.m;
    for (u32 t = 0; t + 3 <= fragment.GetIndexCount(); t += 3) {
        maVector3d p[3];
        for (int k = 0; k < 3; ++k) {
            const float* v = vertices + indices[t + k] * stride;
            p[k] = world.TransformPoint({v[0], v[1], v[2]});
        }
        maVector3d n;
        (p[1] - p[0]).Cross(p[2] - p[0], n);
        const bool facing = maDot(projector.eye - p[0], n) >= 0.0f;
        for (int k = 0; k < 3; ++k) {
            float* pair = vertices + indices[t + k] * stride + pairOffset;
            if (!facing) {
                pair[0] = pair[1] = 0.0f;
                continue;
            }
            const float x = p[k].x * m[0] + p[k].y * m[4] + p[k].z * m[8] + m[12];
            const float y = p[k].x * m[1] + p[k].y * m[5] + p[k].z * m[9] + m[13];
            const float w = p[k].x * m[3] + p[k].y * m[7] + p[k].z * m[11] + m[15];
            const float s = w == 0.0f ? 1.0f : 1.0f / w;
            pair[0] = (x * s + 1.0f) * 0.5f;
            pair[1] = (1.0f - y * s) * 0.5f;
        }
    }
    fragment.CommitVertices();
}

// Node matrices are computed only while projecting; taking the stage away needs none.
void ProjectOntoTree(const g3dTransformTreeNode& node, const maMatrix4d& parent, const Projector& projector) {
    maMatrix4d world;
    if (projector.texture)
        world = node.GetLocalMatrix() * parent;
    if (auto* fragmentNode = dynamic_cast<const g3dHFragment*>(&node);
        fragmentNode && fragmentNode->GetFragment())
        ProjectOnto(*fragmentNode->GetFragment(), world, projector);
    for (u32 i = 0; i < node.GetChildCount(); ++i)
        ProjectOntoTree(*node.GetChild(i), world, projector);
}

void ProjectOntoObject(scObject& object, const Projector& projector) {
    if (g3dTransformTreeNode* tree = scGetObjectTree(&object)) {
        ProjectOntoTree(*tree, maMatrix4d(), projector);
        return;
    }
    auto* placed = dynamic_cast<scStaticObject*>(&object);
    if (!placed)
        return;
    if (auto* world = dynamic_cast<g3dWorldStaticModel*>(placed->GetModel()); world && world->GetFragment())
        ProjectOnto(*world->GetFragment(), maMatrix4d(), projector);
    else if (auto* baked = dynamic_cast<g3dStaticModel*>(placed->GetModel()); baked && baked->GetFragment())
        ProjectOnto(*baked->GetFragment(), baked->GetWorldMatrix(), projector);
}

} // namespace

void scAddSceneObject(scObject* object) {
    Receivers().push_back(object);
}

void scClearSceneObjects() {
    Receivers().clear();
}

void scRemoveSceneObject(const scObject* object) {
    std::erase(Receivers(), object);
}

void scSetUpProjector(float radius, const maVector3d& centre, const maVector3d& direction,
                      g3dCamera& camera) {
    // A zero direction would put the eye on the centre, where the view has no direction.
    const float length = direction.Length();
    const maVector3d d = length > 0.0f ? direction * (1.0f / length) : maVector3d(0.0f, -1.0f, 0.0f);
    const float distance = radius + 200.0f;
    const float fieldOfView = 2.0f * std::atan(1.5f * radius / distance) * 180.0f / std::numbers::pi_v<float>;
    camera.SetClipPlanes(1.0f, 3000.0f);
    camera.SetAspectRatio(1.3333334f);
    camera.SetFieldOfView(fieldOfView);
    camera.LookAt(centre - d * distance, centre, {0.0f, 1.0f, 0.0f});
}

void scRenderCastersToTexture(g3dRenderTargetTexture& target, const std::vector<scObject*>& casters,
                              const g3dMaterial* material) {
    std::vector<g3dDynamicModel*> models;
    for (scObject* caster : casters)
        if (auto* simple = dynamic_cast<scSimpleMovableObject*>(caster))
            models.push_back(simple->GetModel());
    g3dRenderer::RenderToTexture(target, models, material);
}

void scApplyProjectedTexture(g3dCamera& projector, g3dTexture* texture) {
    maMatrix4d view, projection;
    projector.GetViewMatrix(view);
    projector.GetProjectionMatrix(projection);
    const maMatrix4d viewProjection = view * projection;
    // The renderer mirrors its projection in x; the coordinates follow it.
    for (int row = 0; row < 4; ++row)
        projection.m[row * 4] = -projection.m[row * 4];
    const maMatrix4d mirrored = view * projection;
    for (scObject* receiver : Receivers()) {
        if (receiver->IsCulled() || !receiver->IsVisible())
            continue;
        const bool inside = !scIsOutsideFrustum(viewProjection, *receiver);
        ProjectOntoObject(*receiver, {mirrored, *projector.GetPosition(), inside ? texture : nullptr});
    }
}

void scClearProjectedTexture() {
    for (scObject* receiver : Receivers())
        ProjectOntoObject(*receiver, {maMatrix4d(), {0.0f, 0.0f, 0.0f}, nullptr});
}
