#pragma once
#include "Engine/Graphics/Sc/scObject.h"

class g3dDynamicModel;
class g3dFragment;

// A movable object showing one fragment (not owned) through a model of a render list, which it owns.
class scSimpleMovableObject : public scMovableObject {
  public:
    // The model is not placed until the first setter; the box starts as the fragment's own.
    scSimpleMovableObject(g3dFragment* fragment, u32 renderList);
    ~scSimpleMovableObject() override;

    void SetVisible(bool visible) override;
    void SetCulled(bool culled) override;
    void Update(float /*time*/) override {}
    void SetPosition(const maVector3d& position) override;
    void SetRotation(const maRotation& rotation) override;
    void SetPositionRotation(const maVector3d& position, const maRotation& rotation) override;
    void SetScale(const maVector3d& scale) override;

    g3dFragment* GetFragment() const { return m_fragment; }
    g3dDynamicModel* GetModel() const { return m_model; }

  private:
    // The placement into the model's node and the world box.
    void UpdateTransform();

    g3dFragment* m_fragment;
    g3dDynamicModel* m_model;
};
