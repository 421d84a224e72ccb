#pragma once
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPiece.h"

// A full barrel roll: the track winds once round a straight axis that starts one radius above it and is
// turned away from the heading by the approach angle, whose sign sets the hand of the roll. Short entry
// and exit curves lead onto and off the helix; they are left out next to another corkscrew, so that
// corkscrews chain into one long roll.
class coCoasterPieceCorkscrew : public coCoasterPiece {
  public:
    // Run along the axis and radius of the roll; the setters rebuild.
    float GetRunLength() const { return m_length; }
    void SetRunLength(float length);
    float GetRadius() const { return m_radius; }
    void SetRadius(float radius);
    // Kept and saved with the piece; the shape makes one full turn whatever it says.
    i32 GetRevolutions() const { return m_revolutions; }
    void SetRevolutions(i32 revolutions) { m_revolutions = revolutions; }
    float GetApproachAngle() const { return m_approachAngle; }
    // Stores the angle wrapped into [-pi, pi] and rebuilds; a non-finite angle is refused (false) and the
    // piece keeps its old one.
    bool SetApproachAngle(float angle);

    // Where the helix begins and ends, as last built.
    maVector3d GetHelixStart() const { return m_helixStart; }
    maVector3d GetHelixEnd() const { return m_helixEnd; }

    // Parameter A is the run length, B the radius.
    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    void AdjustParamB(float steps) override;
    void SetParamBNormalised(float t) override;
    float GetParamBNormalised() const override;
    // Along the axis, by the run length.
    bool GetDragHandle(maVector3d& direction, float& amount) const override;
    void Drag(float amount) override;

    // The rider's up points towards the roll's axis.
    maMatrix4d FrameAt(float s) const override;
    float GetSpan() const override { return m_length; }
    float GetEndHeading() const override { return m_heading; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 2; }
    int GetSectionCount() const override { return 12; }
    int GetMaxRollBlendMode() const override { return 1; }
    void Build() override;
    std::any KeepShape() const override {
        return KeepFields(m_length, m_radius, m_revolutions, m_approachAngle);
    }
    void PutShape(const std::any& shape) override {
        PutFields(shape, m_length, m_radius, m_revolutions, m_approachAngle);
    }

  protected:
    // Rebuilds first when a neighbour has become, or stopped being, a corkscrew since the last build.
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    void RebuildIfNeighboursChanged() const;
    // Shares of the curve parameter taken by the entry and the exit curve.
    float EntryShare() const { return m_previousIsCorkscrew ? 0.0f : 0.25f; }
    float ExitShare() const { return m_nextIsCorkscrew ? 0.0f : 0.25f; }
    // The helix's point at u in [0, 1], and its derivative by u.
    maVector3d HelixPoint(float u, maVector3d* derivative) const;
    // The curve before the slope and the fillets are added: entry, helix and exit, and its derivative.
    maVector3d LevelPoint(float t, maVector3d* velocity) const;
    // The share of the slope's climb, and the fillets' parameter, at t (coClimbShare); its derivative goes
    // to rate.
    float Climb(float t, float* rate) const;

    float m_length = 30.0f;
    float m_radius = 6.0f;
    i32 m_revolutions = 1;
    float m_approachAngle = coDegrees(30.0f);

    // Derived by Build.
    maVector3d m_axis;
    maVector3d m_axisSide;
    maVector3d m_axisStart;
    float m_helixLength = 0.0f;
    float m_startAngle = 0.0f;
    float m_sweep = 0.0f;
    bool m_leftHanded = false;
    maVector3d m_helixStart;
    maVector3d m_helixEnd;
    bool m_previousIsCorkscrew = false;
    bool m_nextIsCorkscrew = false;
    maVector3d m_entry[4];
    maVector3d m_exit[4];
    // The horizontal distance covered per unit of t at the start and the end, as shares of the run.
    float m_endRates[2] = {1.0f, 1.0f};
};

// Half a roll that also turns: it ends upside down, its radius higher (or lower, downward) and turned by
// its angle.
class coCoasterPieceHalfCorkscrew : public coCoasterPiece {
  public:
    // The setters rebuild.
    bool IsDownward() const { return m_downward; }
    void SetDownward(bool downward);
    float GetRadius() const { return m_radius; }
    void SetRadius(float radius);
    float GetAngle() const { return m_angle; }
    // Stores the heading change and rebuilds; an angle whose size lies outside 0.0001 to 180 degrees (or
    // is not finite) is refused (false) and the piece keeps its old one. Not wrapped: the largest angle,
    // 180 degrees in float, lies just above pi.
    bool SetAngle(float angle);

    // Upside down at the end: only atEnd 1 counts as the end.
    float GetRoll(int atEnd) const override;
    bool KeepsAttitude() const override { return false; }
    // Parameter A is the radius, B the angle (its magnitude moves; the sign is kept).
    void AdjustParamA(float steps) override;
    void SetParamANormalised(float t) override;
    float GetParamANormalised() const override;
    void AdjustParamB(float steps) override;
    void SetParamBNormalised(float t) override;
    float GetParamBNormalised() const override;
    // The same curve run backwards: it then turns and climbs the other way.
    void Reverse() override;

    // The side follows the turn; the rider rolls over along the piece.
    maMatrix4d FrameAt(float s) const override;
    maVector3d ForwardAt(float s) const override { return TangentForwardAt(s); }
    float GetSpan() const override { return 2.0f * m_radius; }
    float GetEndHeading() const override { return m_heading + m_angle; }
    maVector3d GetEnd() const override;
    int GetTestPointCount() const override { return 2; }
    int GetSectionCount() const override { return 12; }
    int GetMaxRollBlendMode() const override { return 1; }
    void Build() override { SampleCentreLine(); }
    std::any KeepShape() const override { return KeepFields(m_downward, m_radius, m_angle); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_downward, m_radius, m_angle); }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override;

  private:
    bool m_downward = false;
    float m_radius = 12.0f;
    float m_angle = coDegrees(90.0f);
};
