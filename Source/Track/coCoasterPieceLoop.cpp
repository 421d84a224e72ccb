#include "Source/Track/coCoasterPieceLoop.h"

#include "Source/Track/coBezier.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

namespace {
constexpr float kParamStep = 2.0f;

// The profile's control points as shares of (length, height), and its knots.
constexpr int kProfilePoints = 7;
constexpr float kProfile[kProfilePoints][2] = {
    {0.0f, 0.0f},      {0.4583333f, 0.005284398f}, {1.171966f, 0.6937676f},
    {0.5f, 1.358124f}, {-0.1514443f, 0.6937676f},  {0.5416667f, 0.005284398f},
    {1.0f, 0.0f},
};
constexpr int kProfileKnots = 11;
constexpr float kKnots[kProfileKnots] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 4.0f, 4.0f, 4.0f};
} // namespace

void coCoasterPieceLoop::AdjustParamA(float steps) {
    if (coStepWithin(m_length, kParamStep * steps, GetLoopLengthMin(), GetLoopLengthMax()))
        Build();
}

void coCoasterPieceLoop::SetParamANormalised(float t) {
    m_length = coFromNormalised(t, GetLoopLengthMin(), GetLoopLengthMax());
    Build();
}

float coCoasterPieceLoop::GetParamANormalised() const {
    return coToNormalised(m_length, GetLoopLengthMin(), GetLoopLengthMax());
}

void coCoasterPieceLoop::AdjustParamB(float steps) {
    if (coStepWithin(m_height, kParamStep * steps, GetLoopHeightMin(), GetLoopHeightMax()))
        Build();
}

void coCoasterPieceLoop::SetParamBNormalised(float t) {
    m_height = coFromNormalised(t, GetLoopHeightMin(), GetLoopHeightMax());
    Build();
}

float coCoasterPieceLoop::GetParamBNormalised() const {
    return coToNormalised(m_height, GetLoopHeightMin(), GetLoopHeightMax());
}

bool coCoasterPieceLoop::GetDragHandle(maVector3d& direction, float& amount) const {
    direction = HeadingForward();
    amount = m_length;
    return true;
}

void coCoasterPieceLoop::Drag(float amount) {
    m_length += amount;
    Build();
}

maVector3d coCoasterPieceLoop::GetEnd() const {
    return m_start + maVector3d(m_headingSin, m_slopeTan, m_headingCos) * m_length + HeadingSide() * m_slide;
}

void coCoasterPieceLoop::Build() {
    maVector4d points[kProfilePoints];
    for (int i = 0; i < kProfilePoints; ++i)
        points[i] = maVector4d(kProfile[i][0] * m_length, kProfile[i][1] * m_height, 0.0f, 1.0f);
    m_profile.SetControlPoints(points, kProfilePoints);
    m_profile.SetKnots(kKnots, kProfileKnots);

    m_slopeRotation.SetRotationZ(m_slope);
    m_endCorrection = maVector3d(m_length, m_length * m_slopeTan, 0.0f) -
                      m_slopeRotation.TransformPoint(maVector3d(m_length, 0.0f, 0.0f));
    SampleCentreLine();
}

maVector3d coCoasterPieceLoop::Evaluate(float t, maVector3d* direction) const {
    const float ease = coEaseInOut(t);
    const maVector3d q = m_slopeRotation.TransformPoint(m_profile.PointAt(t)) + m_endCorrection * ease;
    // The fillets follow the progress along the run near the ends and the curve parameter over the top.
    // A loop of no length makes no progress along it: the parameter alone stands.
    const float k = std::fabs(2.0f * t - 1.0f);
    const float progress = m_length != 0.0f ? q.x / m_length : t;
    maVector2d tangent;
    const maVector2d offset =
        VerticalProfileOffset(*this, k * progress + (1.0f - k) * t, direction ? &tangent : nullptr);

    const maVector3d forward = HeadingForward();
    if (direction) {
        // The profile's tangent turned by the fillet's direction.
        const maVector3d profile = m_profile.TangentAt(t);
        const maVector2d turned(tangent.x * profile.x - tangent.y * profile.y,
                                tangent.y * profile.x + tangent.x * profile.y);
        *direction = coNormalised(coAlong(turned, forward));
    }
    return m_start + forward * q.x + maVector3d(0.0f, q.y, 0.0f) + coAlong(offset, forward) +
           HeadingSide() * (ease * m_slide);
}

maMatrix4d coCoasterPieceLoop::FrameAt(float s) const {
    return SideFrame(s, RollAt(*this, s));
}
