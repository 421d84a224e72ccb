#include "Source/Track/coCoasterPieceStraight.h"

#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

void coCoasterPieceStraight::AdjustParamA(float steps) {
    if (coStepWithin(m_length, steps, GetStraightLengthMin(), GetStraightLengthMax()))
        Build();
}

void coCoasterPieceStraight::SetParamANormalised(float t) {
    m_length = coFromNormalised(t, GetStraightLengthMin(), GetStraightLengthMax());
    Build();
}

float coCoasterPieceStraight::GetParamANormalised() const {
    return coToNormalised(m_length, GetStraightLengthMin(), GetStraightLengthMax());
}

bool coCoasterPieceStraight::GetDragHandle(maVector3d& direction, float& amount) const {
    direction = HeadingForward();
    amount = m_length;
    return true;
}

void coCoasterPieceStraight::Drag(float amount) {
    m_length += amount;
    Build();
}

maVector3d coCoasterPieceStraight::GetEnd() const {
    return m_start + maVector3d(m_headingSin, m_slopeTan, m_headingCos) * m_length;
}

maVector3d coCoasterPieceStraight::Evaluate(float t, maVector3d* direction) const {
    maVector2d tangent;
    const maVector2d offset = VerticalProfileOffset(*this, t, direction ? &tangent : nullptr);
    const maVector3d forward = HeadingForward();
    const float run = t * m_length;
    if (direction)
        *direction = coNormalised(coAlong(tangent, forward));
    return m_start + forward * run + maVector3d(0.0f, run * m_slopeTan, 0.0f) + coAlong(offset, forward);
}

maMatrix4d coCoasterPieceStraight::FrameAt(float s) const {
    return SideFrame(s, RollAt(*this, s));
}
