#include "Source/Track/coCoasterPieceTurn.h"

#include "Source/Track/coPieceLimits.h"
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
    const maVector3d chord = GetEnd() - GetStart();
    const float length = chord.Length();
    if (!(length > 0.0f))
        return false;
    direction = chord / length;
    amount = length;
    return true;
}

void coCoasterPieceTurn::Drag(float amount) {
    const float chord = (GetEnd() - GetStart()).Length();
    if (!(chord > 0.0f))
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
    const float p = m_startCentreAngle + m_angle * ParamAt(s);
    return m_angle >= 0.0f ? maVector3d(-std::sin(p), 0.0f, -std::cos(p))
                           : maVector3d(std::sin(p), 0.0f, std::cos(p));
}

float coCoasterPieceTurn::GetSpan() const {
    return std::fabs(m_angle * m_radius);
}

maVector3d coCoasterPieceTurn::GetEnd() const {
    const float p0 = m_startCentreAngle;
    const float p1 = p0 + m_angle;
    return m_start + maVector3d(m_radius * (std::sin(p1) - std::sin(p0)), GetSpan() * m_slopeTan,
                                m_radius * (std::cos(p1) - std::cos(p0)));
}

void coCoasterPieceTurn::Build() {
    // The circle's centre lies to the side the piece turns to.
    m_startCentreAngle = m_angle >= 0.0f ? m_heading - maHalfPiF : m_heading + maHalfPiF;
    SampleCentreLine();
}

maVector3d coCoasterPieceTurn::Evaluate(float t, maVector3d* direction) const {
    maVector2d profile;
    const maVector2d offset = VerticalProfileOffset(*this, t, direction ? &profile : nullptr);
    const float p0 = m_startCentreAngle;
    const float p = p0 + m_angle * t;
    const maVector3d tangent = m_angle >= 0.0f ? maVector3d(std::cos(p), 0.0f, -std::sin(p))
                                               : maVector3d(-std::cos(p), 0.0f, std::sin(p));
    maVector3d shift;
    if (offset.x != 0.0f) {
        // The fillet's forward shift follows the start heading in the first half, the end heading after.
        const maVector3d along = t <= 0.5f ? maVector3d(m_headingSin, 0.0f, m_headingCos) * (1.0f - 2.0f * t)
                                           : coForward(m_heading + m_angle) * (2.0f * t - 1.0f);
        shift = coNormalised(along + tangent * t);
    }
    const maVector3d point = m_start +
                             maVector3d(m_radius * (std::sin(p) - std::sin(p0)), t * GetSpan() * m_slopeTan,
                                        m_radius * (std::cos(p) - std::cos(p0))) +
                             maVector3d(offset.x * shift.x, offset.y, offset.x * shift.z);

    if (direction) {
        if (t >= kDirectionStep && t <= kDirectionBandEnd)
            *direction =
                coNormalised(Evaluate(t + kDirectionStep, nullptr) - Evaluate(t - kDirectionStep, nullptr));
        else
            *direction = coNormalised(maVector3d(profile.x * tangent.x, profile.y, profile.x * tangent.z));
    }
    return point;
}
