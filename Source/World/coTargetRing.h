#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Source/Park/coObject.h"

// A target ring of a mission: a disc at a position facing along its normal, which the track passes
// through. A one-way ring (kind 0) counts only track crossing it along its normal.
class coTargetRing : public coObject {
  public:
    explicit coTargetRing(u8 kind) : m_kind(kind) {}

    u8 GetKind() const { return m_kind; }
    bool IsPassed() const { return m_passed; }
    void SetPassed(bool passed) { m_passed = passed; }
    const maVector3d& GetPosition() const { return m_position; }
    void SetPosition(const maVector3d& position) { m_position = position; }
    f32 GetRadius() const { return m_radius; }
    void SetRadius(f32 radius) { m_radius = radius; }
    f32 GetAngle() const { return m_heading; }
    f32 GetPitch() const { return m_pitch; }
    // The rotation turns by the pitch about x first, then by the heading about y.
    void SetHeading(f32 heading);
    void SetPitch(f32 pitch);
    const maVector3d& GetNormal() const { return m_normal; }

    // The segment origin -> origin + direction through the ring's plane strictly inside its radius.
    bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const override;

  private:
    u8 m_kind;
    bool m_passed = false;
    maVector3d m_position;
    maVector3d m_normal{0, 0, 1};
    f32 m_radius = 10.0f;
    f32 m_pitch = 0.0f;
    f32 m_heading = 0.0f;
};

// (0, 0, 1) turned by the pitch about x, then by the heading about y.
maVector3d coRingNormal(f32 heading, f32 pitch);
