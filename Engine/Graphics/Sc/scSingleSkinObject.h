#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Graphics/Sc/scAnimatableObject.h"

#include <vector>

class g3dDynamicModel;
class g3dFragment;
class scJoint;

// One dynamic fragment whose vertices follow a tree of joints: each joint moves the bind positions it
// influences by its weight. Normals stay those of the bind pose; weights are used as given, and a
// vertex no joint influences ends at the origin.
class scSingleSkinObject : public scAnimatableObject {
  public:
    // Owns the fragment, drawn through a model of the render list. The bind arrays are copied for the
    // fragment's vertices: entries past the arrays given are the origin.
    scSingleSkinObject(g3dFragment* fragment, const std::vector<maVector3d>& bindPositions,
                       const std::vector<maVector3d>& bindNormals, u32 renderList);
    ~scSingleSkinObject() override;
    scSingleSkinObject(const scSingleSkinObject&) = delete;
    scSingleSkinObject& operator=(const scSingleSkinObject&) = delete;

    // Deletes the tree held. Influences on vertices the fragment lacks are dropped.
    void SetJointTree(std::unique_ptr<scJoint> root);
    scJoint* GetJointTree() const { return m_root.get(); }
    // Skins with the joints as they stand.
    void ApplySkin();
    // Poses the joints from the animations and skins, when a tree is set and an animation plays; then
    // places the model.
    void Update(float time) override;

    void SetVisible(bool visible) override;
    void SetCulled(bool culled) override;
    void SetPosition(const maVector3d& position) override;
    void SetRotation(const maRotation& rotation) override;
    void SetPositionRotation(const maVector3d& position, const maRotation& rotation) override;
    void SetScale(const maVector3d& scale) override;

    g3dFragment* GetFragment() const { return m_fragment; }
    const maBoundingBox& GetLocalBox() const { return m_localBox; }
    g3dDynamicModel* GetModel() const { return m_model; }

  private:
    void Skin(std::vector<maVector3d>& output);
    // The placement into the model's node; the world box from the local box.
    void UpdateTransform();

    std::unique_ptr<scJoint> m_root;
    std::vector<maVector3d> m_bindPositions;
    std::vector<maVector3d> m_bindNormals;
    g3dFragment* m_fragment;
    maBoundingBox m_localBox;
    g3dDynamicModel* m_model;
};
