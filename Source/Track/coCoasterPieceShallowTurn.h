#pragma once
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPiece.h"

// A gentle circular arc given by a signed angle and its horizontal arc length. An angle of 0 (only
// from files) makes it a straight piece of that length.
class coCoasterPieceShallowTurn : public coCoasterPiece {
  public:
    // The field setters store only; a placement or Build follows (see coCoasterPieceStraight).
    float GetRunLength() const { return m_length; }
    void SetRunLength(float length) { m_length = length; }
    float GetAngle() const { return m_angle; }
    void SetAngle(float angle) { m_angle = angle; }
    // length / |angle|, set by Build; infinite for a straight piece.
    float GetRadius() const { return m_radius; }

    // Parameter A is the length, B the angle's magnitude (its sign kept; 0 counts as negative).
    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    void AdjustParamB(float steps) override;
    void SetParamBNormalised(float t) override;
    float GetParamBNormalised() const override;
    // Along the chord from start to end.
    bool GetDragHandle(maVector3d& direction, float& amount) const override;
    // Scales the length so that the chord grows by amount.
    void Drag(float amount) override;
    // A shallow turn is never turned about.
    void Reverse() override {}

    maVector3d SideAt(float s) const override;
    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override;
    float GetEndHeading() const override { return m_heading + m_angle; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 8; }
    int GetSectionCount() const override { return 8; }
    void Build() override;
    std::any KeepShape() const override { return KeepFields(m_angle, m_length); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_angle, m_length); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    bool IsCurved() const { return std::isfinite(m_radius); }
    // The horizontal offset from the start at curve parameter t, and the horizontal tangent there.
    maVector3d Horizontal(float t, maVector3d& tangent) const;

    float m_angle = coDegrees(15.0f);
    float m_length = 20.0f;
    float m_radius = 0.0f;
    float m_startCentreAngle = 0.0f;
};
