#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

class g3dModel;

// Something of the 3D scene that changes from frame to frame. It never draws itself: its renderer model
// is drawn while the object is visible and not culled. The box is in world space; the culling pass reads
// it and the three bytes.
class scObject {
  public:
    scObject() = default;
    // Leaves the scene manager's lists, with whatever is attached to it.
    virtual ~scObject();
    scObject(const scObject&) = delete;
    scObject& operator=(const scObject&) = delete;

    // Set by the owner.
    virtual void SetVisible(bool visible) { m_visible = visible; }
    // Set by the culling pass, or by an owner that decides visibility itself.
    virtual void SetCulled(bool culled) { m_culled = culled; }
    // The game time of the frame in seconds, the same for every object of a frame.
    virtual void Update(float time) = 0;

    void SetBoundingBox(const maBoundingBox& box) { m_box = box; }
    const maBoundingBox& GetBoundingBox() const { return m_box; }
    bool IsVisible() const { return m_visible; }
    bool IsCulled() const { return m_culled; }
    // An owner that has forced the culled byte sets this: the next culling pass leaves the object
    // alone and clears it.
    void SetSkipCullOnce(bool skip) { m_skipCullOnce = skip; }
    bool GetSkipCullOnce() const { return m_skipCullOnce; }

  protected:
    // The model is drawn exactly while the object is visible and not culled.
    void ShowModel(g3dModel* model) const;

  private:
    friend struct scSceneLists;

    maBoundingBox m_box;
    bool m_inUpdateList = false;
    bool m_visible = true;
    bool m_culled = false;
    bool m_skipCullOnce = false;
};

// A scene object with a position, a rotation and a scale; each subclass decides what a change moves.
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
    // Store the values alone; the setters' overrides call them first.
    void StorePosition(const maVector3d& position) { m_position = position; }
    void StoreRotation(const maRotation& rotation) { m_rotation = rotation; }
    void StorePositionRotation(const maVector3d& position, const maRotation& rotation) {
        m_position = position;
        m_rotation = rotation;
    }
    void StoreScale(const maVector3d& scale) { m_scale = scale; }
    // Scaled, then rotated, then moved.
    maMatrix4d GetPlacementMatrix() const;

  private:
    maVector3d m_position{0, 0, 0};
    maRotation m_rotation;
    maVector3d m_scale{1, 1, 1};
};

// Scale, then rotation, then translation, as row vectors.
maMatrix4d scPlacementMatrix(const maVector3d& position, const maRotation& rotation, const maVector3d& scale);
// The box enclosing the eight corners of the box moved by the matrix; an empty box stays empty (its
// corners are the largest floats, which no matrix moves to anything meaningful).
maBoundingBox scWorldBox(const maBoundingBox& box, const maMatrix4d& matrix);
