#include "Engine/Graphics/Sc/scJoint.h"

#include <algorithm>
#include <iterator>

maMatrix4d scOrientationMatrix(float rx, float ry, float rz) {
    maMatrix4d x, y, z;
    x.SetRotationX(rx);
    y.SetRotationY(ry);
    z.SetRotationZ(rz);
    return x * y * z;
}

std::unique_ptr<g3dTransformTreeNode> scJoint::Clone() const {
    auto joint = std::make_unique<scJoint>();
    joint->CopyOwnData(*this);
    joint->m_bind = m_bind;
    joint->m_orientation = m_orientation;
    joint->m_rotation = m_rotation;
    joint->m_translation = m_translation;
    joint->m_influences = m_influences;
    return joint;
}

void scJoint::SetOrientation(float rx, float ry, float rz) {
    m_orientation = scOrientationMatrix(rx, ry, rz);
    m_dirty = true;
}

void scJoint::SetTranslation(float x, float y, float z) {
    if (x != m_translation.x || y != m_translation.y || z != m_translation.z) {
        m_translation = maVector3d(x, y, z);
        m_dirty = true;
    }
}

void scJoint::SetRotation(const maRotation& r) {
    if (r.x != m_rotation.x || r.y != m_rotation.y || r.z != m_rotation.z || r.w != m_rotation.w) {
        m_rotation = r;
        m_dirty = true;
    }
}

void scJoint::SetRotationEuler(float rx, float ry, float rz) {
    m_rotation.SetEuler(rx, ry, rz);
    m_dirty = true;
}

void scJoint::SetInfluences(const scJointInfluence* influences, u32 count, u32 vertexCount) {
    m_influences.clear();
    std::copy_if(influences, influences + count, std::back_inserter(m_influences),
                 [vertexCount](const scJointInfluence& i) { return i.vertex < vertexCount; });
}

void scJoint::Update(const maVector3d* bindPositions, maVector3d* output, const maMatrix4d& parentWorld) {
    if (m_dirty) {
        GetLocalMatrix() = m_rotation.GetMatrix() * m_orientation;
        GetLocalMatrix().Translate(m_translation.x, m_translation.y, m_translation.z);
        m_dirty = false;
    }
    const maMatrix4d world = GetLocalMatrix() * parentWorld;
    if (!m_influences.empty()) {
        const maMatrix4d skin = m_bind * world;
        for (const scJointInfluence& i : m_influences)
            output[i.vertex] = output[i.vertex] + skin.TransformPoint(bindPositions[i.vertex]) * i.weight;
    }
    for (u32 c = 0; c < GetChildCount(); ++c)
        if (auto* joint = dynamic_cast<scJoint*>(GetChild(c)))
            joint->Update(bindPositions, output, world);
}

std::unique_ptr<g3dTransformTreeNode> scHJoint::Clone() const {
    auto joint = std::make_unique<scHJoint>(GetFragment());
    joint->CopyOwnData(*this);
    joint->m_orientation = m_orientation;
    return joint;
}

void scHJoint::SetOrientation(float rx, float ry, float rz) {
    m_orientation = scOrientationMatrix(rx, ry, rz);
}
