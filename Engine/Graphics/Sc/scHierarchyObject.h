#pragma once
#include "Engine/Graphics/Sc/scAnimatableObject.h"

class g3dDynamicModel;
class g3dTransformTreeNode;

// A tree of rigid parts posed by frame animations. The renderer's model keeps its own copy of the tree:
// the copy's root carries the object's placement and its first child is the animated tree's root.
class scHierarchyObject : public scAnimatableObject {
  public:
    // The root should be a fragment node (with or without a fragment): a model made from another
    // kind of node draws nothing and the object has no tree to pose.
    scHierarchyObject(const g3dTransformTreeNode& root, u32 renderList);
    ~scHierarchyObject() override;

    // Poses the tree from the animations, then takes its world box.
    void Update(float time) override;
    void SetVisible(bool visible) override;
    void SetCulled(bool culled) override;
    void SetPosition(const maVector3d& position) override;
    void SetRotation(const maRotation& rotation) override;
    void SetPositionRotation(const maVector3d& position, const maRotation& rotation) override;
    void SetScale(const maVector3d& scale) override;

    g3dDynamicModel* GetModel() const { return m_model; }

  private:
    void UpdateTransform();
    // The box of every fragment of the tree under its node matrices.
    void UpdateBox();

    g3dDynamicModel* m_model;
};
