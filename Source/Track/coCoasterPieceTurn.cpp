#include "Source/Track/coCoasterPieceTurn.h"

#include "Source/Track/coCircleArc.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

namespace {
constexpr float kAngleStep = coDegrees(5.0f);
// Inside this band the direction is a central difference of points.
constexpr float kDirectionStep = 0.05f;
constexpr float kDirectionBandEnd = 0.95f;
} // namespace

void coCoasterPieceTurn::AdjustParamA(float steps) {
    m_angle = coStepMagnitude(m_angle, kAngleStep * steps, GetTurnAngleMin(), GetTurnAngleMax());
    Build();
}

void coCoasterPieceTurn::SetParamANormalised(float t) {
    m_angle = coSignedFromNormalised(m_angle, t, GetTurnAngleMin(), GetTurnAngleMax());
    Build();
}

float coCoasterPieceTurn::GetParamANormalised() const {
    return coToNormalised(std::fabs(m_angle), GetTurnAngleMin(), GetTurnAngleMax());
}

void coCoasterPieceTurn::AdjustParamB(float steps) {
    if (coStepWithin(m_radius, steps, GetTurnRadiusMin(), GetTurnRadiusMax()))
        Build();
}

void coCoasterPieceTurn::SetParamBNormalised(float t) {
    // t is not clamped: a fraction outside [0, 1] takes the radius past its limits.
    const float minimum = GetTurnRadiusMin();
    m_radius = minimum + (GetTurnRadiusMax() - minimum) * t;
    Build();
}

float coCoasterPieceTurn::GetParamBNormalised() const {
    return coToNormalised(m_radius, GetTurnRadiusMin(), GetTurnRadiusMax());
}

bool coCoasterPieceTurn::GetDragHandle(maVector3d& direction, float& amount) const {
    return ChordHandle(direction, amount);
}

void coCoasterPieceTurn::Drag(float amount) {
    maVector3d direction;
    float chord = 0.0f;
    if (!ChordHandle(direction, chord))
        return;
    m_radius = m_radius * (chord + amount) / chord;
    Build();
}

void coCoasterPieceTurn::Reverse() {
    const maVector3d end = GetEnd();
    const float endHeading = GetEndHeading();
    m_angle = -m_angle;
    ReverseFrom(end, endHeading);
}

maVector3d coCoasterPieceTurn::SideAt(float s) const {
    return coArcSide(m_startCentreAngle + m_angle * ParamAt(s), m_angle);
}

float coCoasterPieceTurn::GetSpan() const {
    return std::fabs(m_angle * m_radius);
}

maVector3d coCoasterPieceTurn::GetEnd() const {
    const float p0 = m_startCentreAngle;
    return m_start + coArcOffset(m_radius, p0, p0 + m_angle) + maVector3d(0.0f, GetSpan() * m_slopeTan, 0.0f);
}

void coCoasterPieceTurn::Build() {
    m_startCentreAngle = coArcStartAngle(m_heading, m_angle);
    SampleCentreLine();
}

maVector3d coCoasterPieceTurn::Evaluate(float t, maVector3d* direction) const {
    maVector2d profile;
    const maVector2d offset = VerticalProfileOffset(*this, t, direction ? &profile : nullptr);
    const float p0 = m_startCentreAngle;
    const float p = p0 + m_angle * t;
    const maVector3d tangent = coArcTangent(p, m_angle);
    maVector3d shift;
    if (offset.x != 0.0f) {
        // The fillet's forward shift follows the start heading in the first half, the end heading after.
        const maVector3d along = t <= 0.5f ? HeadingForward() * (1.0f - 2.0f * t)
                                           : coForward(m_heading + m_angle) * (2.0f * t - 1.0f);
        shift = coNormalised(along + tangent * t);
    }
    const maVector3d point = m_start + coArcOffset(m_radius, p0, p) +
                             maVector3d(0.0f, t * GetSpan() * m_slopeTan, 0.0f) + coAlong(offset, shift);

    if (direction) {
        if (t >= kDirectionStep && t <= kDirectionBandEnd)
            *direction =
                coNormalised(Evaluate(t + kDirectionStep, nullptr) - Evaluate(t - kDirectionStep, nullptr));
        else
            *direction = coNormalised(coAlong(profile, tangent));
    }
    return point;
}

maMatrix4d coCoasterPieceTurn::FrameAt(float s) const {
    return SideFrame(s, RollAt(*this, s));
}
