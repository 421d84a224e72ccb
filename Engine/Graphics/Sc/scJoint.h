#pragma once
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

#include <vector>

// A vertex a joint moves, and by how much.
struct scJointInfluence {
    u16 vertex;
    f32 weight;
};

// A bone of a skin's skeleton: its pose (rotation after orientation, then translation) is rebuilt into
// the node matrix when something changed, and moves the influenced vertices from the bind pose.
class scJoint : public g3dTransformTreeNode {
  public:
    std::unique_ptr<g3dTransformTreeNode> Clone() const override;

    // Takes a bind-pose position into the joint's own space.
    void SetBindMatrix(const maMatrix4d& bind) { m_bind = bind; }
    // Orientation = RotationX x RotationY x RotationZ, radians.
    void SetOrientation(float rx, float ry, float rz);
    // Mark the joint dirty only when a component changes.
    void SetTranslation(float x, float y, float z);
    void SetRotation(const maRotation& rotation);
    void SetRotationEuler(float rx, float ry, float rz);
    // Influences on vertices at or past vertexCount are dropped: they would be written past the skin.
    void SetInfluences(const scJointInfluence* influences, u32 count, u32 vertexCount);

    const std::vector<scJointInfluence>& GetInfluences() const { return m_influences; }
    const maVector3d& GetTranslation() const { return m_translation; }
    const maRotation& GetRotation() const { return m_rotation; }
    bool IsDirty() const { return m_dirty; }

    // Rebuilds the node matrix when dirty, adds every influenced bind position moved by this joint and
    // its weight into output, then does the same for the joint children with this joint's world.
    void Update(const maVector3d* bindPositions, maVector3d* output, const maMatrix4d& parentWorld);

  private:
    maMatrix4d m_bind;
    maMatrix4d m_orientation;
    maRotation m_rotation;
    maVector3d m_translation{0, 0, 0};
    std::vector<scJointInfluence> m_influences;
    bool m_dirty = true;
};

// A node of a hierarchy model that also carries an orientation, applied after its posed rotation.
class scHJoint : public g3dHFragment {
  public:
    explicit scHJoint(g3dFragment* fragment = nullptr) : g3dHFragment(fragment) {}
    std::unique_ptr<g3dTransformTreeNode> Clone() const override;

    // Orientation = RotationX x RotationY x RotationZ, radians.
    void SetOrientation(float rx, float ry, float rz);
    const maMatrix4d& GetOrientation() const { return m_orientation; }

  private:
    maMatrix4d m_orientation;
};

// RotationX(rx) x RotationY(ry) x RotationZ(rz).
maMatrix4d scOrientationMatrix(float rx, float ry, float rz);
