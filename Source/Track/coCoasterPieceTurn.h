#pragma once
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPiece.h"

// A circular arc of a horizontal radius turning by a signed angle (positive increases the heading).
class coCoasterPieceTurn : public coCoasterPiece {
  public:
    // The field setters store only; a placement or Build follows (see coCoasterPieceStraight).
    float GetRadius() const { return m_radius; }
    void SetRadius(float radius) { m_radius = radius; }
    float GetAngle() const { return m_angle; }
    void SetAngle(float angle) { m_angle = angle; }

    // Parameter A is the angle's magnitude (its sign kept; 0 counts as negative), B the radius.
    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    void AdjustParamB(float steps) override;
    void SetParamBNormalised(float t) override;
    float GetParamBNormalised() const override;
    // Along the chord from start to end.
    bool GetDragHandle(maVector3d& direction, float& amount) const override;
    // Scales the radius so that the chord grows by amount.
    void Drag(float amount) override;
    void Reverse() override;

    maVector3d SideAt(float s) const override;
    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override;
    float GetEndHeading() const override { return m_heading + m_angle; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 8; }
    int GetSectionCount() const override { return 8; }
    void Build() override;
    std::any KeepShape() const override { return KeepFields(m_radius, m_angle); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_radius, m_angle); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    float m_radius = 15.0f;
    float m_angle = maHalfPiF;
    // Angle of the start point about the circle's centre; set by Build.
    float m_startCentreAngle = 0.0f;
};
