#pragma once
#include "Engine/Graphics/Sc/scObject.h"

class g3dFragment;

// A scene object that never moves: its fragment (not owned) is drawn as it stands or baked under a
// placement. The placement is kept for attachments to read.
class scStaticObject : public scObject {
  public:
    // The fragment already in world coordinates.
    scStaticObject(g3dFragment* fragment, u32 renderList);
    // The fragment scaled, rotated, then moved; the renderer keeps the matrix.
    scStaticObject(const maVector3d& position, const maRotation& rotation, const maVector3d& scale,
                   g3dFragment* fragment, u32 renderList);
    ~scStaticObject() override;

    void SetVisible(bool visible) override;
    void SetCulled(bool culled) override;
    void Update(float /*time*/) override {}

    const maVector3d& GetPosition() const { return m_position; }
    const maRotation& GetRotation() const { return m_rotation; }
    const maVector3d& GetScale() const { return m_scale; }
    g3dModel* GetModel() const { return m_model; }

  private:
    maVector3d m_position{0, 0, 0};
    maRotation m_rotation;
    maVector3d m_scale{1, 1, 1};
    g3dModel* m_model;
};
