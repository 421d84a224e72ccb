#pragma once
#include "Source/Track/coCoasterPiece.h"

// A straight run of a horizontal length, climbing by its slope.
class coCoasterPieceStraight : public coCoasterPiece {
  public:
    // The horizontal length. The setter stores only: the track-file reader fills fields before the
    // piece is placed, and placing it builds it.
    float GetRunLength() const { return m_length; }
    void SetRunLength(float length) { m_length = length; }

    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    bool GetDragHandle(maVector3d& direction, float& amount) const override;
    void Drag(float amount) override;

    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override { return m_length; }
    float GetEndHeading() const override { return m_heading; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 3; }
    int GetSectionCount() const override { return 4; }
    void Build() override { SampleCentreLine(); }
    std::any KeepShape() const override { return KeepFields(m_length); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_length); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    float m_length = 10.0f;
};
