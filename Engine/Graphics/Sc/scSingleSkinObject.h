#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Graphics/Sc/scAnimatableObject.h"

#include <vector>

class g3dFragment;
class scJoint;

// One dynamic fragment whose vertices follow a tree of joints: each joint moves the bind positions it
// influences by its weight. Normals stay those of the bind pose; weights are used as given, and a
// vertex no joint influences ends at the origin.
class scSingleSkinObject : public scAnimatableObject {
  public:
    // Owns the fragment. The bind arrays are copied for the fragment's vertices: entries past the
    // arrays given are the origin.
    scSingleSkinObject(g3dFragment* fragment, const std::vector<maVector3d>& bindPositions,
                       const std::vector<maVector3d>& bindNormals);
    ~scSingleSkinObject() override;
    scSingleSkinObject(const scSingleSkinObject&) = delete;
    scSingleSkinObject& operator=(const scSingleSkinObject&) = delete;

    // Deletes the tree held. Influences on vertices the fragment lacks are dropped.
    void SetJointTree(std::unique_ptr<scJoint> root);
    scJoint* GetJointTree() const { return m_root.get(); }
    // Skins with the joints as they stand.
    void ApplySkin();
    // Poses the joints from the animations and skins, when a tree is set and an animation plays.
    void Update(float time) override;

    g3dFragment* GetFragment() const { return m_fragment; }
    const maBoundingBox& GetLocalBox() const { return m_localBox; }

  private:
    void Skin(std::vector<maVector3d>& output);

    std::unique_ptr<scJoint> m_root;
    std::vector<maVector3d> m_bindPositions;
    std::vector<maVector3d> m_bindNormals;
    g3dFragment* m_fragment;
    maBoundingBox m_localBox;
};
