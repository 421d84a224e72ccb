#pragma once
#include "Source/Track/coCoasterPiece.h"

// The climb: a straight run pitched a quarter turn up (or down) from the piece's slope, so that at slope 0
// it is vertical. The bends into and out of it are the slope fillets of its neighbours.
class coCoasterPieceUp : public coCoasterPiece {
  public:
    // The field setters store only; a placement or Build follows (see coCoasterPieceStraight).
    float GetRunLength() const { return m_length; }
    void SetRunLength(float length) { m_length = length; }
    bool IsDown() const { return m_down; }
    void SetDown(bool down) { m_down = down; }
    // Turns the end heading, and the frame's side vector along the piece, but not the centre line.
    // Refused (false, nothing changed) when not finite.
    float GetAngle() const { return m_angle; }
    bool SetAngle(float angle);

    bool KeepsAttitude() const override { return false; }
    bool TakesSlopeFillet() const override { return false; }
    // A quarter turn above (below, when down) the slope field, at either end.
    float GetSlope(int atEnd) const override;
    float GetSlopeTan(int atEnd) const override;

    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;

    // The side vector turns with the angle along the piece.
    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override { return m_length; }
    float GetSlopedSpan() const override { return m_length; }
    float GetEndHeading() const override { return m_heading + m_angle; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 2; }
    int GetSectionCount() const override { return 12; }
    void Build() override { SampleCentreLine(); }
    std::any KeepShape() const override { return KeepFields(m_down, m_length, m_angle); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_down, m_length, m_angle); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    // The unit direction of the pitched run.
    maVector3d RunDirection() const;
    maVector3d PointOnRun(float t) const;

    bool m_down = false;
    float m_length = 30.0f;
    float m_angle = 0.0f;
};
