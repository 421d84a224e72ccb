#include "Source/Track/coCoasterPieceHalfLoop.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coBezier.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

namespace {
constexpr float kRatioStep = 0.05f;
constexpr float kHeightStep = 2.0f;
// How far ahead the profile's cubic reaches, as a share of the height; also the reach of the centre
// line's inner control points.
constexpr float kReach = 0.675f;
constexpr float kKnots[8] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
} // namespace

float coCoasterPieceHalfLoop::GetRoll(int atEnd) const {
    return atEnd == 1 ? m_roll + maPiF : m_roll;
}

float coCoasterPieceHalfLoop::GetSlope(int atEnd) const {
    return atEnd != 0 ? m_endSlope : m_slope;
}

float coCoasterPieceHalfLoop::GetSlopeTan(int atEnd) const {
    return std::tan(GetSlope(atEnd));
}

void coCoasterPieceHalfLoop::AdjustParamA(float steps) {
    if (coStepWithin(m_ratio, kRatioStep * steps, GetHalfLoopRatioMin(), GetHalfLoopRatioMax()))
        Build();
}

void coCoasterPieceHalfLoop::SetParamANormalised(float t) {
    m_ratio = coFromNormalised(t, GetHalfLoopRatioMin(), GetHalfLoopRatioMax());
    Build();
}

float coCoasterPieceHalfLoop::GetParamANormalised() const {
    return coToNormalised(m_ratio, GetHalfLoopRatioMin(), GetHalfLoopRatioMax());
}

void coCoasterPieceHalfLoop::AdjustParamB(float steps) {
    if (coStepWithin(m_height, kHeightStep * steps, GetHalfLoopHeightMin(), GetHalfLoopHeightMax()))
        Build();
}

void coCoasterPieceHalfLoop::SetParamBNormalised(float t) {
    m_height = coFromNormalised(t, GetHalfLoopHeightMin(), GetHalfLoopHeightMax());
    Build();
}

float coCoasterPieceHalfLoop::GetParamBNormalised() const {
    return coToNormalised(m_height, GetHalfLoopHeightMin(), GetHalfLoopHeightMax());
}

float coCoasterPieceHalfLoop::GetEndHeading() const {
    return m_heading < maPiF ? m_heading + maPiF : m_heading - maPiF;
}

maVector3d coCoasterPieceHalfLoop::GetEnd() const {
    return m_start + HeadingForward() * m_endOffset.x + maVector3d(0.0f, m_endOffset.y, 0.0f);
}

void coCoasterPieceHalfLoop::Build() {
    const float rise = m_inverted ? -m_height : m_height;
    const float reach = kReach * m_height;
    const maVector4d points[4] = {maVector4d(0.0f, 0.0f, 0.0f, 1.0f), maVector4d(reach, 0.0f, 0.0f, 1.0f),
                                  maVector4d(reach, rise, 0.0f, 1.0f), maVector4d(0.0f, rise, 0.0f, 1.0f)};
    m_profile.SetControlPoints(points, 4);
    m_profile.SetKnots(kKnots, 8);
    m_slopeRotation.SetRotationZ(m_slope);

    // Past a ratio of 1 the profile's cubic runs on beyond its last control point.
    m_endOffset = m_slopeRotation.TransformPoint(m_profile.PointAt(m_ratio));
    const maVector3d endTangent = m_slopeRotation.TransformPoint(m_profile.TangentAt(m_ratio));
    m_endSlope =
        std::atan2(endTangent.y, std::sqrt(endTangent.x * endTangent.x + endTangent.z * endTangent.z));
    SampleCentreLine();
}

maVector3d coCoasterPieceHalfLoop::Evaluate(float t, maVector3d* direction) const {
    // The end runs back along the start heading.
    maVector3d curve[4];
    coJointCurve(*this, HeadingForward() * -1.0f, kReach * m_height * m_ratio, curve);
    if (direction)
        *direction = BezierTangent(curve, t);
    return BezierPoint(curve, t);
}

maMatrix4d coCoasterPieceHalfLoop::FrameAt(float s) const {
    return SideFrame(s, RollAt(*this, s));
}
