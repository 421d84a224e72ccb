#include "Engine/Graphics/Sc/scSingleSkinObject.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scJoint.h"

namespace {

maBoundingBox BoxOf(const std::vector<maVector3d>& points) {
    maBoundingBox box;
    for (const maVector3d& p : points)
        box.AddPoint(p);
    return box;
}

// Drops the influences of the tree on vertices past the count.
void BoundInfluences(g3dTransformTreeNode& node, u32 vertexCount) {
    if (auto* joint = dynamic_cast<scJoint*>(&node)) {
        const std::vector<scJointInfluence> all = joint->GetInfluences();
        joint->SetInfluences(all.data(), static_cast<u32>(all.size()), vertexCount);
    }
    for (u32 c = 0; c < node.GetChildCount(); ++c)
        BoundInfluences(*node.GetChild(c), vertexCount);
}

} // namespace

scSingleSkinObject::scSingleSkinObject(g3dFragment* fragment, const std::vector<maVector3d>& bindPositions,
                                       const std::vector<maVector3d>& bindNormals, u32 renderList)
    : m_bindPositions(bindPositions), m_bindNormals(bindNormals), m_fragment(fragment),
      m_model(g3dRenderer::AddNode(g3dHFragment(fragment), renderList)) {
    const u32 count = fragment ? fragment->GetVertexCount() : 0;
    m_bindPositions.resize(count, maVector3d(0, 0, 0));
    m_bindNormals.resize(count, maVector3d(0, 0, 0));
    m_localBox = BoxOf(m_bindPositions);
    SetBoundingBox(m_localBox);
}

scSingleSkinObject::~scSingleSkinObject() {
    g3dRenderer::RemoveModel(m_model);
    g3dFragmentManager::DestroyFragment(m_fragment);
}

void scSingleSkinObject::SetJointTree(std::unique_ptr<scJoint> root) {
    m_root = std::move(root);
    if (m_root)
        BoundInfluences(*m_root, static_cast<u32>(m_bindPositions.size()));
}

void scSingleSkinObject::ApplySkin() {
    if (!m_root)
        return;
    std::vector<maVector3d> output;
    Skin(output);
    UpdateTransform();
}

void scSingleSkinObject::Update(float time) {
    if (!m_root)
        return;
    scPose pose;
    if (GetPose(time, pose)) {
        scPoseJoints(*m_root, pose);
        // Every skin of a frame shares one scratch array, grown to the largest skin.
        static std::vector<maVector3d> scratch;
        Skin(scratch);
    }
    UpdateTransform();
}

void scSingleSkinObject::SetVisible(bool visible) {
    scAnimatableObject::SetVisible(visible);
    ShowModel(m_model);
}

void scSingleSkinObject::SetCulled(bool culled) {
    scAnimatableObject::SetCulled(culled);
    ShowModel(m_model);
}

void scSingleSkinObject::SetPosition(const maVector3d& position) {
    StorePosition(position);
    UpdateTransform();
}

void scSingleSkinObject::SetRotation(const maRotation& rotation) {
    StoreRotation(rotation);
    UpdateTransform();
}

void scSingleSkinObject::SetPositionRotation(const maVector3d& position, const maRotation& rotation) {
    StorePositionRotation(position, rotation);
    UpdateTransform();
}

void scSingleSkinObject::SetScale(const maVector3d& scale) {
    StoreScale(scale);
    UpdateTransform();
}

void scSingleSkinObject::UpdateTransform() {
    const maMatrix4d placement = GetPlacementMatrix();
    m_model->GetNode()->GetLocalMatrix() = placement;
    SetBoundingBox(scWorldBox(m_localBox, placement));
}

void scSingleSkinObject::Skin(std::vector<maVector3d>& output) {
    const size_t count = m_bindPositions.size();
    if (output.size() < count)
        output.resize(count);
    std::fill_n(output.begin(), count, maVector3d(0, 0, 0));
    m_root->Update(m_bindPositions.data(), output.data(), maMatrix4d());
    if (m_fragment)
        m_fragment->SetPositionsNormals(0, static_cast<u32>(count), output.data(), m_bindNormals.data());
    m_localBox = maBoundingBox();
    for (size_t i = 0; i < count; ++i)
        m_localBox.AddPoint(output[i]);
}
