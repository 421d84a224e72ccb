#include "Source/Track/coCoasterPieceShallowTurn.h"

#include "Source/Track/coCircleArc.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
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
    return ChordHandle(direction, amount);
}

void coCoasterPieceShallowTurn::Drag(float amount) {
    maVector3d direction;
    float chord = 0.0f;
    if (!ChordHandle(direction, chord))
        return;
    const float arc = IsCurved() ? std::fabs(m_angle) * m_radius : m_length;
    m_length = arc * (chord + amount) / chord;
    Build();
}

maVector3d coCoasterPieceShallowTurn::SideAt(float s) const {
    return coArcSide(m_startCentreAngle + m_angle * ParamAt(s), m_angle);
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
    m_startCentreAngle = coArcStartAngle(m_heading, m_angle);
    SampleCentreLine();
}

maVector3d coCoasterPieceShallowTurn::Horizontal(float t, maVector3d& tangent) const {
    const float p = m_startCentreAngle + m_angle * t;
    tangent = coArcTangent(p, m_angle);
    if (!IsCurved())
        return HeadingForward() * (t * m_length);
    return coArcOffset(m_radius, m_startCentreAngle, p);
}

maVector3d coCoasterPieceShallowTurn::Evaluate(float t, maVector3d* direction) const {
    maVector2d profile;
    const maVector2d offset = VerticalProfileOffset(*this, t, direction ? &profile : nullptr);
    maVector3d tangent;
    const maVector3d horizontal = Horizontal(t, tangent);
    if (direction)
        *direction = coNormalised(coAlong(profile, tangent));
    // The fillet's forward shift follows the local tangent.
    return m_start + maVector3d(horizontal.x, t * GetSpan() * m_slopeTan, horizontal.z) +
           coAlong(offset, tangent);
}

maMatrix4d coCoasterPieceShallowTurn::FrameAt(float s) const {
    return SideFrame(s, RollAt(*this, s));
}
