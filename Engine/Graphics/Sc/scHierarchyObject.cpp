#include "Engine/Graphics/Sc/scHierarchyObject.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

namespace {

void WidenByTree(const g3dTransformTreeNode& node, const maMatrix4d& parentWorld, maBoundingBox& box) {
    const maMatrix4d world = node.GetLocalMatrix() * parentWorld;
    if (auto* part = dynamic_cast<const g3dHFragment*>(&node); part && part->GetFragment()) {
        const maBoundingBox moved = scWorldBox(part->GetFragment()->GetBoundingBox(), world);
        box.AddPoint(moved.GetMin());
        box.AddPoint(moved.GetMax());
    }
    for (u32 c = 0; c < node.GetChildCount(); ++c)
        WidenByTree(*node.GetChild(c), world, box);
}

} // namespace

scHierarchyObject::scHierarchyObject(const g3dTransformTreeNode& root, u32 renderList)
    : m_model(g3dRenderer::AddNode(root, renderList)) {
    UpdateBox();
}

scHierarchyObject::~scHierarchyObject() {
    g3dRenderer::RemoveModel(m_model);
}

void scHierarchyObject::Update(float time) {
    g3dTransformTreeNode* root = m_model->GetNode();
    scPose pose;
    if (!root || !GetPose(time, pose))
        return;
    if (root->GetChildCount() > 0)
        scPoseHierarchy(*root->GetChild(0), pose);
    UpdateBox();
}

void scHierarchyObject::SetVisible(bool visible) {
    scAnimatableObject::SetVisible(visible);
    ShowModel(m_model);
}

void scHierarchyObject::SetCulled(bool culled) {
    scAnimatableObject::SetCulled(culled);
    ShowModel(m_model);
}

void scHierarchyObject::SetPosition(const maVector3d& position) {
    StorePosition(position);
    UpdateTransform();
}

void scHierarchyObject::SetRotation(const maRotation& rotation) {
    StoreRotation(rotation);
    UpdateTransform();
}

void scHierarchyObject::SetPositionRotation(const maVector3d& position, const maRotation& rotation) {
    StorePositionRotation(position, rotation);
    UpdateTransform();
}

void scHierarchyObject::SetScale(const maVector3d& scale) {
    StoreScale(scale);
    UpdateTransform();
}

void scHierarchyObject::UpdateTransform() {
    if (g3dTransformTreeNode* root = m_model->GetNode())
        root->GetLocalMatrix() = GetPlacementMatrix();
    UpdateBox();
}

void scHierarchyObject::UpdateBox() {
    maBoundingBox box;
    if (const g3dTransformTreeNode* root = m_model->GetNode())
        WidenByTree(*root, maMatrix4d(), box);
    SetBoundingBox(box);
}
