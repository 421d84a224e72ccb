#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/Scene/coObject.h"

#include <memory>

class g3dFragment;
class scSimpleMovableObject;

// A target ring of a mission: a disc at a position facing along its normal, which the track passes
// through. A one-way ring (kind 0) counts only track crossing it along its normal. It shows its idle
// model until passed, then its passed model, each a square scaled by the radius.
class coTargetRing : public coObject {
  public:
    static constexpr u32 kRenderList = 2;

    explicit coTargetRing(u8 kind);
    ~coTargetRing() override;

    // The models are shared and not owned; the idle one shows, the passed one is hidden.
    void SetModels(g3dFragment* idle, g3dFragment* passed);
    // The idle object's box; empty without models.
    maBoundingBox GetBounds() const;
    maBoundingBox GetBoundingBox() const override { return GetBounds(); }
    void SetVisible(bool visible);

    u8 GetKind() const { return m_kind; }
    bool IsPassed() const { return m_passed; }
    // The newly shown object takes over the other's visibility.
    void SetPassed(bool passed);
    const maVector3d& GetPosition() const { return m_position; }
    void SetPosition(const maVector3d& position);
    f32 GetRadius() const { return m_radius; }
    void SetRadius(f32 radius);
    f32 GetAngle() const { return m_heading; }
    f32 GetPitch() const { return m_pitch; }
    // The rotation turns by the pitch about x first, then by the heading about y.
    void SetHeading(f32 heading);
    void SetPitch(f32 pitch);
    const maVector3d& GetNormal() const { return m_normal; }
    const maRotation& GetRotation() const { return m_rotation; }
    const scSimpleMovableObject* GetShownObject() const {
        return m_passed ? m_passedObject.get() : m_idleObject.get();
    }

    // The segment origin -> origin + direction through the ring's plane strictly inside its radius.
    bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const override;

  private:
    void Turn();

    u8 m_kind;
    bool m_passed = false;
    maVector3d m_position;
    maVector3d m_normal{0, 0, 1};
    f32 m_radius = 10.0f;
    f32 m_pitch = 0.0f;
    f32 m_heading = 0.0f;
    maRotation m_rotation;
    std::unique_ptr<scSimpleMovableObject> m_idleObject, m_passedObject;
};

// (0, 0, 1) turned by the pitch about x, then by the heading about y.
maVector3d coRingNormal(f32 heading, f32 pitch);
