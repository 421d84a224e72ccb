#pragma once
#include "Source/Track/coCoasterPiece.h"

// A horizontal S-shaped cubic that shifts the track sideways by its slide while running its length
// ahead; it keeps its heading unless an explicit end heading is set (when it is fitted to a join point).
class coCoasterPieceSTurn : public coCoasterPiece {
  public:
    // The field setters store only; a placement or Build follows (see coCoasterPieceStraight).
    float GetRunLength() const { return m_length; }
    void SetRunLength(float length) { m_length = length; }
    // Positive slides move the end towards -N(heading).
    float GetSlide() const { return m_slide; }
    void SetSlide(float slide) { m_slide = slide; }
    bool HasEndHeading() const { return m_endHeadingSet; }

    // Parameter A is the length, B the slide (a positive step lowers it). Changing either keeps the end's
    // height above the start: the slope is derived again from the new span.
    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    void AdjustParamB(float steps) override;
    void SetParamBNormalised(float t) override;
    float GetParamBNormalised() const override;
    bool GetDragHandle(maVector3d& direction, float& amount) const override;
    void Drag(float amount) override;

    // Length and slide so that the end lies at the target, sloped to reach its height. False, with
    // nothing changed, when the target lies less than 0.5 ahead of the start (or is not finite).
    bool FitToPoint(const maVector3d& target);
    // From now on the piece ends with this heading, whatever its start heading becomes; rebuilds.
    // The heading is kept within [-pi, pi]; a non-finite one is refused (false, nothing changed).
    bool SetEndHeading(float heading);

    maVector3d SideAt(float s) const override;
    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override { return m_length + std::fabs(m_slide); }
    float GetEndHeading() const override { return m_endHeadingSet ? m_endHeading : m_heading; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 8; }
    int GetSectionCount() const override { return 8; }
    void Build() override;
    std::any KeepShape() const override {
        return KeepFields(m_length, m_slide, m_endHeading, m_endHeadingSet);
    }
    void PutShape(const std::any& shape) override {
        PutFields(shape, m_length, m_slide, m_endHeading, m_endHeadingSet);
    }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    // The end before the climb: all control points lie at the start's height.
    maVector3d LevelEnd() const;
    // Slope that puts the end height back where it was before a parameter changed; rebuilds.
    void KeepEndHeight(float endRise);

    float m_length = 20.0f;
    float m_slide = 8.0f;
    float m_endHeading = 0.0f;
    bool m_endHeadingSet = false;
    // P0 .. P3 and the ground covered per unit of t at either end as shares of the span, set by Build.
    maVector3d m_control[4];
    float m_endRates[2] = {1.0f, 1.0f};
};
