#pragma once
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coNurbsCurve.h"

// Half a loop: up (or, inverted, down) and over, ending upside down and heading back. The profile, tilted
// by the slope, gives only the end point and end slope; a cubic between the joints is the centre line.
class coCoasterPieceHalfLoop : public coCoasterPiece {
  public:
    // The field setters store only; a placement or Build follows (see coCoasterPieceStraight).
    float GetHeight() const { return m_height; }
    void SetHeight(float height) { m_height = height; }
    // The parameter on the profile at which the piece ends; above 1 it runs on past the top.
    float GetRatio() const { return m_ratio; }
    void SetRatio(float ratio) { m_ratio = ratio; }
    bool IsInverted() const { return m_inverted; }
    void SetInverted(bool inverted) { m_inverted = inverted; }

    bool KeepsAttitude() const override { return false; }
    // Upside down at the end: the roll plus pi when atEnd is 1.
    float GetRoll(int atEnd) const override;
    // The slope field at the start; for any other atEnd the profile's slope where the piece ends.
    float GetSlope(int atEnd) const override;
    float GetSlopeTan(int atEnd) const override;

    // Parameter A is the ratio, B the height.
    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    void AdjustParamB(float steps) override;
    void SetParamBNormalised(float t) override;
    float GetParamBNormalised() const override;

    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override { return m_height; }
    // Back the way it came.
    float GetEndHeading() const override;
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 3; }
    int GetSectionCount() const override { return 12; }
    void Build() override;
    std::any KeepShape() const override { return KeepFields(m_height, m_ratio, m_inverted); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_height, m_ratio, m_inverted); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    float m_height = 26.0f;
    float m_ratio = 1.0f;
    bool m_inverted = false;
    // Set by Build: the profile for the current height and direction, and where it ends tilted by the
    // slope: the end's offset in the profile's plane (along the start heading, up) and the end slope.
    coNurbsCurve m_profile;
    maMatrix4d m_slopeRotation;
    maVector3d m_endOffset;
    float m_endSlope = 0.0f;
};
