#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

// Something in the 3D scene that changes from frame to frame: a world box for culling and the three
// bytes that decide whether its renderer model is drawn. Owners register objects with the scene
// manager's update list, which updates and culls them once a frame.
class scObject {
  public:
    virtual ~scObject() = default;
    virtual void SetVisible(bool visible) { this->visible = visible; }
    virtual void SetCulled(bool culled) { this->culled = culled; }
    // The accumulated game time in seconds, the same for every object in one frame.
    virtual void Update(float time) = 0;

    void SetBoundingBox(const maBoundingBox& box) { m_box = box; }
    const maBoundingBox& GetBoundingBox() const { return m_box; }

    u8 visible = 1;
    u8 culled = 0;
    // Set by an owner that forced the culled byte itself: the next culling pass leaves it alone.
    u8 skipCullOnce = 0;

  private:
    maBoundingBox m_box;
};

// A scene object with a position, a rotation and a scale. The setters are each kind's own; the stores
// keep the values without side effects and are what the setters call first.
class scMovableObject : public scObject {
  public:
    virtual void SetPosition(const maVector3d& position) = 0;
    virtual void SetRotation(const maRotation& rotation) = 0;
    virtual void SetPositionRotation(const maVector3d& position, const maRotation& rotation) = 0;
    virtual void SetScale(const maVector3d& scale) = 0;

    const maVector3d& GetPosition() const { return m_position; }
    const maRotation& GetRotation() const { return m_rotation; }
    const maVector3d& GetScale() const { return m_scale; }

  protected:
    void StorePosition(const maVector3d& position) { m_position = position; }
    void StoreRotation(const maRotation& rotation) { m_rotation = rotation; }
    void StorePositionRotation(const maVector3d& position, const maRotation& rotation) {
        m_position = position;
        m_rotation = rotation;
    }
    void StoreScale(const maVector3d& scale) { m_scale = scale; }

  private:
    maVector3d m_position{0.0f, 0.0f, 0.0f};
    maRotation m_rotation;
    maVector3d m_scale{1.0f, 1.0f, 1.0f};
};
