#include "Source/Track/coCoasterPieceCorkscrew.h"

#include "Source/Track/coBezier.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

#include <cmath>

namespace {
constexpr float kCorkscrewLengthStep = 1.0f;
constexpr float kCorkscrewRadiusStep = 0.5f;
constexpr float kHalfCorkscrewRadiusStep = 0.5f;
constexpr float kHalfCorkscrewAngleStep = coDegrees(5.0f);
// The entry and exit curves reach this share of the run ahead of the start and back from the end, and
// meet the helix along its tangent over this share of the radius.
constexpr float kLeadShare = 0.15f;
constexpr float kHelixHandleShare = 0.75f;

const maVector3d kUp(0.0f, 1.0f, 0.0f);

bool IsCorkscrew(const coCoasterPiece* piece) {
    return dynamic_cast<const coCoasterPieceCorkscrew*>(piece) != nullptr;
}
} // namespace

// ---------------------------------------------------------------------------------------------------
// Corkscrew

void coCoasterPieceCorkscrew::SetRunLength(float length) {
    m_length = length;
    Build();
}

void coCoasterPieceCorkscrew::SetRadius(float radius) {
    m_radius = radius;
    Build();
}

bool coCoasterPieceCorkscrew::SetApproachAngle(float angle) {
    if (!WrapFiniteAngle(angle))
        return false;
    m_approachAngle = angle;
    Build();
    return true;
}

void coCoasterPieceCorkscrew::AdjustParamA(float steps) {
    if (coStepWithin(m_length, kCorkscrewLengthStep * steps, GetCorkscrewLengthMin(),
                     GetCorkscrewLengthMax()))
        Build();
}

void coCoasterPieceCorkscrew::SetParamANormalised(float t) {
    SetRunLength(coFromNormalised(t, GetCorkscrewLengthMin(), GetCorkscrewLengthMax()));
}

float coCoasterPieceCorkscrew::GetParamANormalised() const {
    return coToNormalised(m_length, GetCorkscrewLengthMin(), GetCorkscrewLengthMax());
}

void coCoasterPieceCorkscrew::AdjustParamB(float steps) {
    if (coStepWithin(m_radius, kCorkscrewRadiusStep * steps, GetCorkscrewRadiusMin(),
                     GetCorkscrewRadiusMax()))
        Build();
}

void coCoasterPieceCorkscrew::SetParamBNormalised(float t) {
    SetRadius(coFromNormalised(t, GetCorkscrewRadiusMin(), GetCorkscrewRadiusMax()));
}

float coCoasterPieceCorkscrew::GetParamBNormalised() const {
    return coToNormalised(m_radius, GetCorkscrewRadiusMin(), GetCorkscrewRadiusMax());
}

bool coCoasterPieceCorkscrew::GetDragHandle(maVector3d& direction, float& amount) const {
    direction = coForward(m_heading + m_approachAngle);
    amount = m_length;
    return true;
}

void coCoasterPieceCorkscrew::Drag(float amount) {
    SetRunLength(m_length + amount);
}

maVector3d coCoasterPieceCorkscrew::GetEnd() const {
    const maVector3d axis = coForward(m_heading + m_approachAngle);
    return m_start + maVector3d(m_length * axis.x, m_length * m_slopeTan, m_length * axis.z);
}

void coCoasterPieceCorkscrew::Build() {
    m_previousIsCorkscrew = IsCorkscrew(m_previous);
    m_nextIsCorkscrew = IsCorkscrew(m_next);
    const float entryShare = EntryShare();
    const float helixShare = 1.0f - entryShare - ExitShare();

    const float axisHeading = m_heading + m_approachAngle;
    m_axis = coForward(axisHeading);
    m_axisSide = coSide(axisHeading);
    m_axisStart = m_start + m_axis * (entryShare * m_length) + kUp * m_radius;
    m_helixLength = helixShare * m_length;
    m_leftHanded = m_approachAngle < 0.0f;
    // From the bottom of the axis, advanced by the part of the turn the entry curve stands in for.
    const float entryTurn = maTwoPiF * entryShare;
    m_startAngle = m_leftHanded ? -maHalfPiF - entryTurn : -maHalfPiF + entryTurn;
    m_sweep = maTwoPiF * helixShare;

    maVector3d startTangent;
    maVector3d endTangent;
    m_helixStart = HelixPoint(0.0f, &startTangent);
    m_helixEnd = HelixPoint(1.0f, &endTangent);
    startTangent = coNormalised(startTangent);
    endTangent = coNormalised(endTangent);

    const maVector3d forward = coForward(m_heading);
    const maVector3d axisEnd = m_start + m_axis * m_length;
    m_entry[0] = m_start;
    m_entry[1] = m_start + forward * (kLeadShare * m_length);
    m_entry[2] = m_helixStart - startTangent * (kHelixHandleShare * m_radius);
    m_entry[3] = m_helixStart;
    m_exit[0] = m_helixEnd;
    m_exit[1] = m_helixEnd + endTangent * (kHelixHandleShare * m_radius);
    m_exit[2] = axisEnd - forward * (kLeadShare * m_length);
    m_exit[3] = axisEnd;

    // The horizontal distance the curve covers per unit of t at either end, as a share of the run.
    for (int end = 0; end < 2; ++end) {
        maVector3d velocity;
        LevelPoint(static_cast<float>(end), &velocity);
        const float covered = std::sqrt(velocity.x * velocity.x + velocity.z * velocity.z);
        m_endRates[end] = m_length > 0.0f ? std::min(covered / m_length, 3.0f) : 1.0f;
    }
    SampleCentreLine();
}

void coCoasterPieceCorkscrew::RebuildIfNeighboursChanged() const {
    if (IsCorkscrew(m_previous) == m_previousIsCorkscrew && IsCorkscrew(m_next) == m_nextIsCorkscrew)
        return;
    // The circuit links pieces without rebuilding their neighbours, so the shape catches up on its next
    // use. Pieces are never created const, so rebuilding through a const query is sound.
    const_cast<coCoasterPieceCorkscrew*>(this)->Build();
}

maVector3d coCoasterPieceCorkscrew::HelixPoint(float u, maVector3d* derivative) const {
    const float hand = m_leftHanded ? -1.0f : 1.0f;
    const float theta = m_startAngle + hand * m_sweep * u;
    const float cosTheta = std::cos(theta);
    const float sinTheta = std::sin(theta);
    if (derivative)
        *derivative =
            m_axis * m_helixLength + (m_axisSide * sinTheta + kUp * cosTheta) * (hand * m_sweep * m_radius);
    return m_axisStart + m_axis * (u * m_helixLength) - m_axisSide * (m_radius * cosTheta) +
           kUp * (m_radius * sinTheta);
}

maVector3d coCoasterPieceCorkscrew::LevelPoint(float t, maVector3d* velocity) const {
    const float entryShare = EntryShare();
    const float exitShare = ExitShare();
    if (!m_previousIsCorkscrew && t < entryShare) {
        if (velocity)
            *velocity = BezierDerivative(m_entry, t / entryShare) / entryShare;
        return BezierPoint(m_entry, t / entryShare);
    }
    if (!m_nextIsCorkscrew && t > 1.0f - exitShare) {
        const float u = (t - (1.0f - exitShare)) / exitShare;
        if (velocity)
            *velocity = BezierDerivative(m_exit, u) / exitShare;
        return BezierPoint(m_exit, u);
    }
    const float helixShare = 1.0f - entryShare - exitShare;
    const maVector3d point = HelixPoint((t - entryShare) / helixShare, velocity);
    if (velocity)
        *velocity = *velocity / helixShare;
    return point;
}

float coCoasterPieceCorkscrew::Climb(float t, float* rate) const {
    return coClimbShare(t, m_endRates[0], m_endRates[1], rate);
}

maVector3d coCoasterPieceCorkscrew::Evaluate(float t, maVector3d* direction) const {
    RebuildIfNeighboursChanged();
    maVector3d velocity;
    const maVector3d point = LevelPoint(t, direction ? &velocity : nullptr);
    float climbRate = 0.0f;
    const float climb = Climb(t, direction ? &climbRate : nullptr);
    maVector2d rate;
    const maVector2d offset = VerticalProfileOffset(*this, climb, nullptr, direction ? &rate : nullptr);
    const maVector3d forward = coForward(m_heading);
    // The direction is the derivative of the point returned below, so that the train's pull along it
    // matches the heights it passes.
    if (direction)
        *direction = coNormalised(
            velocity + (coAlong(rate, forward) + maVector3d(0.0f, m_length * m_slopeTan, 0.0f)) * climbRate);
    return point +
           maVector3d(offset.x * forward.x, climb * m_length * m_slopeTan + offset.y, offset.x * forward.z);
}

maMatrix4d coCoasterPieceCorkscrew::FrameAt(float s) const {
    RebuildIfNeighboursChanged();
    const float t = ParamAt(s);
    maVector3d direction;
    const maVector3d point = Evaluate(t, &direction);
    maVector3d axisPoint = m_start + kUp * m_radius + m_axis * (s * m_length);
    axisPoint.y += SlopeFilletHeight(*this, Climb(t, nullptr), nullptr);

    return FrameLeaningUp(point, direction, axisPoint - point, RollAt(*this, s));
}

// ---------------------------------------------------------------------------------------------------
// HalfCorkscrew

void coCoasterPieceHalfCorkscrew::SetDownward(bool downward) {
    m_downward = downward;
    Build();
}

void coCoasterPieceHalfCorkscrew::SetRadius(float radius) {
    m_radius = radius;
    Build();
}

bool coCoasterPieceHalfCorkscrew::SetAngle(float angle) {
    // Either way round, the parameter's own range: no operation turns a half corkscrew further.
    const float size = std::fabs(angle);
    if (!(size >= GetHalfCorkscrewAngleMin() && size <= GetHalfCorkscrewAngleMax()))
        return false;
    m_angle = angle;
    Build();
    return true;
}

float coCoasterPieceHalfCorkscrew::GetRoll(int atEnd) const {
    return atEnd == 1 ? m_roll + maPiF : m_roll;
}

void coCoasterPieceHalfCorkscrew::AdjustParamA(float steps) {
    if (coStepWithin(m_radius, kHalfCorkscrewRadiusStep * steps, GetHalfCorkscrewRadiusMin(),
                     GetHalfCorkscrewRadiusMax()))
        Build();
}

void coCoasterPieceHalfCorkscrew::SetParamANormalised(float t) {
    SetRadius(coFromNormalised(t, GetHalfCorkscrewRadiusMin(), GetHalfCorkscrewRadiusMax()));
}

float coCoasterPieceHalfCorkscrew::GetParamANormalised() const {
    return coToNormalised(m_radius, GetHalfCorkscrewRadiusMin(), GetHalfCorkscrewRadiusMax());
}

void coCoasterPieceHalfCorkscrew::AdjustParamB(float steps) {
    const float angle = coStepMagnitude(m_angle, kHalfCorkscrewAngleStep * steps, GetHalfCorkscrewAngleMin(),
                                        GetHalfCorkscrewAngleMax());
    if (angle != m_angle) {
        m_angle = angle;
        Build();
    }
}

void coCoasterPieceHalfCorkscrew::SetParamBNormalised(float t) {
    // The magnitude alone: a negative angle (only from files) turns positive here.
    m_angle = coFromNormalised(t, GetHalfCorkscrewAngleMin(), GetHalfCorkscrewAngleMax());
    Build();
}

float coCoasterPieceHalfCorkscrew::GetParamBNormalised() const {
    return coToNormalised(m_angle, GetHalfCorkscrewAngleMin(), GetHalfCorkscrewAngleMax());
}

void coCoasterPieceHalfCorkscrew::Reverse() {
    const maVector3d end = GetEnd();
    const float endHeading = GetEndHeading();
    // Run backwards the piece turns the other way and drops where it climbed; it starts with the bank it
    // ended with, seen from the other direction.
    m_angle = -m_angle;
    m_downward = !m_downward;
    SetRoll(GetRoll(1));
    ReverseFrom(end, endHeading);
}

maVector3d coCoasterPieceHalfCorkscrew::GetEnd() const {
    const float rise = m_downward ? -m_radius : m_radius;
    return m_start + coForward(m_heading) * m_radius + coForward(m_heading + m_angle) * m_radius +
           maVector3d(0.0f, rise + 2.0f * m_radius * m_slopeTan, 0.0f);
}

maVector3d coCoasterPieceHalfCorkscrew::Evaluate(float t, maVector3d* direction) const {
    maVector3d curve[4];
    coJointCurve(*this, coForward(m_heading + m_angle), m_radius, curve);
    if (direction)
        *direction = BezierTangent(curve, t);
    return BezierPoint(curve, t);
}

maMatrix4d coCoasterPieceHalfCorkscrew::FrameAt(float s) const {
    // The rider rolls over along the piece, eased in and out, over the shoulder that the turn's direction
    // and the climb or drop choose.
    const float turnSign = m_angle > 0.0f ? 1.0f : -1.0f;
    const float rollSign = m_downward ? 1.0f : -1.0f;
    return TurningSideFrame(s, m_angle, RollAt(*this, s) + coEaseInOut(s) * maPiF * turnSign * rollSign);
}
