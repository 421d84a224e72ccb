#pragma once
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coNurbsCurve.h"

// A full vertical loop: a B-spline profile in the vertical plane of the start heading, tilted by the slope,
// that comes out its length ahead and its slide to the side of where it went in.
class coCoasterPieceLoop : public coCoasterPiece {
  public:
    // The field setters store only; a placement or Build follows (see coCoasterPieceStraight).
    float GetRunLength() const { return m_length; }
    void SetRunLength(float length) { m_length = length; }
    float GetHeight() const { return m_height; }
    void SetHeight(float height) { m_height = height; }
    // The sideways offset of the end along N(heading); no parameter changes it.
    float GetSlide() const { return m_slide; }
    void SetSlide(float slide) { m_slide = slide; }

    // Parameter A is the length, B the height.
    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    void AdjustParamB(float steps) override;
    void SetParamBNormalised(float t) override;
    float GetParamBNormalised() const override;
    bool GetDragHandle(maVector3d& direction, float& amount) const override;
    void Drag(float amount) override;

    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override { return m_length; }
    float GetEndHeading() const override { return m_heading; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 2; }
    int GetSectionCount() const override { return 12; }
    int GetMaxRollBlendMode() const override { return 1; }
    void Build() override;
    std::any KeepShape() const override { return KeepFields(m_length, m_height, m_slide); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_length, m_height, m_slide); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    float m_length = 30.0f;
    float m_height = 30.0f;
    float m_slide = 4.0f;
    // Set by Build: the profile for the current length and height, the slope's rotation, and the
    // correction that eases the tilted profile's end onto the sloped end point.
    coNurbsCurve m_profile;
    maMatrix4d m_slopeRotation;
    maVector3d m_endCorrection;
};
