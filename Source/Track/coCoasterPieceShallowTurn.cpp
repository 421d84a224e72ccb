#include "Source/Track/coCoasterPieceShallowTurn.h"

#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coSlopeBlend.h"

#include <limits>

namespace {
constexpr float kAngleStep = coDegrees(2.0f);
} // namespace

void coCoasterPieceShallowTurn::AdjustParamA(float steps) {
    if (coStepWithin(m_length, steps, GetStraightLengthMin(), GetStraightLengthMax()))
        Build();
}

void coCoasterPieceShallowTurn::SetParamANormalised(float t) {
    // t is not clamped: a fraction outside [0, 1] takes the length past its limits.
    const float minimum = GetStraightLengthMin();
    m_length = minimum + (GetStraightLengthMax() - minimum) * t;
    Build();
}

float coCoasterPieceShallowTurn::GetParamANormalised() const {
    return coToNormalised(m_length, GetStraightLengthMin(), GetStraightLengthMax());
}

void coCoasterPieceShallowTurn::AdjustParamB(float steps) {
    m_angle =
        coStepMagnitude(m_angle, kAngleStep * steps, GetShallowTurnAngleMin(), GetShallowTurnAngleMax());
    Build();
}

void coCoasterPieceShallowTurn::SetParamBNormalised(float t) {
    m_angle = coSignedFromNormalised(m_angle, t, GetShallowTurnAngleMin(), GetShallowTurnAngleMax());
    Build();
}

float coCoasterPieceShallowTurn::GetParamBNormalised() const {
    return coToNormalised(std::fabs(m_angle), GetShallowTurnAngleMin(), GetShallowTurnAngleMax());
}

bool coCoasterPieceShallowTurn::GetDragHandle(maVector3d& direction, float& amount) const {
    const maVector3d chord = GetEnd() - GetStart();
    const float length = chord.Length();
    if (!(length > 0.0f))
        return false;
    direction = chord / length;
    amount = length;
    return true;
}

void coCoasterPieceShallowTurn::Drag(float amount) {
    const float chord = (GetEnd() - GetStart()).Length();
    if (!(chord > 0.0f))
        return;
    const float arc = IsCurved() ? std::fabs(m_angle) * m_radius : m_length;
    m_length = arc * (chord + amount) / chord;
    Build();
}

maVector3d coCoasterPieceShallowTurn::SideAt(float s) const {
    const float p = m_startCentreAngle + m_angle * ParamAt(s);
    return m_angle >= 0.0f ? maVector3d(-std::sin(p), 0.0f, -std::cos(p))
                           : maVector3d(std::sin(p), 0.0f, std::cos(p));
}

float coCoasterPieceShallowTurn::GetSpan() const {
    return IsCurved() ? std::fabs(m_radius * m_angle) : m_length;
}

maVector3d coCoasterPieceShallowTurn::GetEnd() const {
    maVector3d tangent;
    return m_start + Horizontal(1.0f, tangent) + maVector3d(0.0f, GetSpan() * m_slopeTan, 0.0f);
}

void coCoasterPieceShallowTurn::Build() {
    // A zero angle would put the centre at infinity: the piece runs straight instead.
    m_radius = m_angle != 0.0f ? m_length / std::fabs(m_angle) : std::numeric_limits<float>::infinity();
    m_startCentreAngle = m_angle >= 0.0f ? m_heading - maHalfPiF : m_heading + maHalfPiF;
    SampleCentreLine();
}

maVector3d coCoasterPieceShallowTurn::Horizontal(float t, maVector3d& tangent) const {
    const float p0 = m_startCentreAngle;
    const float p = p0 + m_angle * t;
    tangent = m_angle >= 0.0f ? maVector3d(std::cos(p), 0.0f, -std::sin(p))
                              : maVector3d(-std::cos(p), 0.0f, std::sin(p));
    if (!IsCurved())
        return maVector3d(m_headingSin, 0.0f, m_headingCos) * (t * m_length);
    return maVector3d(m_radius * (std::sin(p) - std::sin(p0)), 0.0f, m_radius * (std::cos(p) - std::cos(p0)));
}

maVector3d coCoasterPieceShallowTurn::Evaluate(float t, maVector3d* direction) const {
    maVector2d profile;
    const maVector2d offset = VerticalProfileOffset(*this, t, direction ? &profile : nullptr);
    maVector3d tangent;
    const maVector3d horizontal = Horizontal(t, tangent);
    if (direction)
        *direction = coNormalised(maVector3d(profile.x * tangent.x, profile.y, profile.x * tangent.z));
    // The fillet's forward shift follows the local tangent.
    return m_start + maVector3d(horizontal.x, t * GetSpan() * m_slopeTan, horizontal.z) +
           maVector3d(offset.x * tangent.x, offset.y, offset.x * tangent.z);
}
