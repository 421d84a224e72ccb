#include "Source/Track/coCoasterPieceUp.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

namespace {
// Half the parameter distance between the two points whose difference gives the direction.
constexpr float kDirectionReach = 0.05f;
} // namespace

bool coCoasterPieceUp::SetAngle(float angle) {
    if (!std::isfinite(angle))
        return false;
    m_angle = angle;
    return true;
}

float coCoasterPieceUp::GetSlope(int) const {
    return m_down ? m_slope - maHalfPiF : m_slope + maHalfPiF;
}

float coCoasterPieceUp::GetSlopeTan(int atEnd) const {
    return std::tan(GetSlope(atEnd));
}

void coCoasterPieceUp::AdjustParamA(float steps) {
    if (coStepWithin(m_length, steps, GetUpLengthMin(), GetUpLengthMax()))
        Build();
}

void coCoasterPieceUp::SetParamANormalised(float t) {
    m_length = coFromNormalised(t, GetUpLengthMin(), GetUpLengthMax());
    Build();
}

float coCoasterPieceUp::GetParamANormalised() const {
    return coToNormalised(m_length, GetUpLengthMin(), GetUpLengthMax());
}

maVector3d coCoasterPieceUp::RunDirection() const {
    const float pitch = GetSlope(0);
    const float horizontal = std::cos(pitch);
    return maVector3d(m_headingSin * horizontal, std::sin(pitch), m_headingCos * horizontal);
}

maVector3d coCoasterPieceUp::GetEnd() const {
    return m_start + RunDirection() * m_length;
}

maVector3d coCoasterPieceUp::PointOnRun(float t) const {
    const maVector2d offset = VerticalProfileOffset(*this, t, nullptr);
    return m_start + RunDirection() * (t * m_length) + coAlong(offset, HeadingForward());
}

maVector3d coCoasterPieceUp::Evaluate(float t, maVector3d* direction) const {
    if (direction) {
        const float before = t < kDirectionReach ? 0.0f : t - kDirectionReach;
        const float after = t > 1.0f - kDirectionReach ? 1.0f : t + kDirectionReach;
        *direction = coNormalised(PointOnRun(after) - PointOnRun(before));
    }
    return PointOnRun(t);
}

maMatrix4d coCoasterPieceUp::FrameAt(float s) const {
    return TurningSideFrame(s, m_angle, RollAt(*this, s));
}
