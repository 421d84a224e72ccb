#pragma once
#include "Source/Track/coCoasterPiece.h"

#include <vector>

// One control point of a custom piece's curve.
struct coCustomPoint {
    maVector3d position;
    // Pitch and heading of the track at the point.
    float slope = 0.0f;
    float heading = 0.0f;
    // Factor on the length of the curve's tangent at the point.
    float tangentScale = 1.0f;
    // Bank at the point, added to the piece's roll.
    float roll = 0.0f;
};

// A piece shaped by a chain of cubic Bezier segments through control points, each point giving the
// direction, bank and tangent length there. Only the track-file reader makes one; it has no parameters
// and cannot be dragged.
class coCoasterPieceCustom : public coCoasterPiece {
  public:
    // The most points a track file can count.
    static constexpr int kMaxPoints = 32767;

    // Copies the points, given relative to the piece's start with heading 0, and rebuilds. A list of
    // fewer than two points has no shape and one with a non-finite value none that can be drawn; one of
    // more than kMaxPoints could not be saved: each is refused (false) and the piece keeps its points.
    [[nodiscard]] bool SetPoints(const std::vector<coCustomPoint>& points);
    // The same from one array per field.
    [[nodiscard]] bool SetPointsFromArrays(int count, const maVector3d* positions, const float* slopes,
                                           const float* headings, const float* tangentScales,
                                           const float* rolls);
    // Leaves the piece without a shape: it then ends where it starts.
    void ClearPoints();
    // The points as handed over.
    int GetPointCount() const { return static_cast<int>(m_localPoints.size()); }
    const coCustomPoint& GetPoint(int index) const { return m_localPoints[index]; }

    // At the end (atEnd 1) the last point's bank and pitch, upside down past a quarter turn of pitch.
    float GetRoll(int atEnd) const override;
    float GetSlope(int atEnd) const override;
    float GetSlopeTan(int atEnd) const override;
    void AdjustParamA(float) override {}
    void SetParamANormalised(float) override {}
    float GetParamANormalised() const override { return 0.0f; }
    // Moves to the old end turned about; the points and the slope and roll stay as they are.
    void Reverse() override;

    // The up follows the points' pitch and heading, the bank their roll.
    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    // The length of the bare curve (without slope fillets, about GetLength), the run its fillets are sized
    // by: it depends on the points alone, not on the neighbours or where the piece lies.
    float GetSpan() const override { return m_span; }
    float GetEndHeading() const override;
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 2; }
    int GetSectionCount() const override { return 12; }
    int GetMaxRollBlendMode() const override { return 1; }
    void Build() override;
    std::any KeepShape() const override { return KeepFields(m_localPoints); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_localPoints); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    // The segment that curve parameter t falls on, and the parameter inside it.
    struct Segment {
        int index;
        float u;
    };
    bool HasShape() const { return m_placedPoints.size() >= 2; }
    Segment SegmentAt(float t) const;
    void SegmentControls(int index, maVector3d controls[4]) const;
    maVector3d CurvePoint(float t) const;
    maVector3d CurveTangent(float t) const;
    maVector3d CurveUp(float t) const;
    float CurveRoll(float t) const;

    std::vector<coCustomPoint> m_localPoints;
    // The local points moved to the start and turned by the heading, and the span; rebuilt by Build.
    std::vector<coCustomPoint> m_placedPoints;
    float m_span = 0.0f;
};
