#include "Source/Track/coCoasterPieceSTurn.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coBezier.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

#include <algorithm>

namespace {
// How far along the start and end headings the inner control points reach, as a share of the length.
constexpr float kHandleShare = 0.3f;
// The least distance ahead of the start that FitToPoint accepts.
constexpr float kMinFitAhead = 0.5f;
} // namespace

void coCoasterPieceSTurn::AdjustParamA(float steps) {
    const float rise = GetEnd().y - m_start.y;
    const float length = std::clamp(m_length + 1.0f * steps, GetStraightLengthMin(), GetStraightLengthMax());
    // The slide may reach at most twice the length.
    if (std::fabs(m_slide) / 2.0f <= length)
        m_length = length;
    KeepEndHeight(rise);
}

void coCoasterPieceSTurn::SetParamANormalised(float t) {
    const float rise = GetEnd().y - m_start.y;
    m_length = coFromNormalised(t, GetStraightLengthMin(), GetStraightLengthMax());
    KeepEndHeight(rise);
}

float coCoasterPieceSTurn::GetParamANormalised() const {
    return coToNormalised(m_length, GetStraightLengthMin(), GetStraightLengthMax());
}

void coCoasterPieceSTurn::AdjustParamB(float steps) {
    const float rise = GetEnd().y - m_start.y;
    const float slide = std::clamp(m_slide - 1.0f * steps, GetSTurnOffsetMin(), GetSTurnOffsetMax());
    if (std::fabs(slide) <= 2.0f * m_length)
        m_slide = slide;
    KeepEndHeight(rise);
}

void coCoasterPieceSTurn::SetParamBNormalised(float t) {
    const float rise = GetEnd().y - m_start.y;
    m_slide = coFromNormalised(t, GetSTurnOffsetMin(), GetSTurnOffsetMax());
    KeepEndHeight(rise);
}

float coCoasterPieceSTurn::GetParamBNormalised() const {
    return coToNormalised(m_slide, GetSTurnOffsetMin(), GetSTurnOffsetMax());
}

void coCoasterPieceSTurn::KeepEndHeight(float endRise) {
    // A piece without span has no slope to derive from its rise: it keeps the one it has.
    const float span = GetSpan();
    SetSlope(span != 0.0f ? std::atan(endRise / span) : m_slope);
}

bool coCoasterPieceSTurn::GetDragHandle(maVector3d& direction, float& amount) const {
    direction = HeadingForward();
    amount = m_length;
    return true;
}

void coCoasterPieceSTurn::Drag(float amount) {
    m_length += amount;
    Build();
}

bool coCoasterPieceSTurn::FitToPoint(const maVector3d& target) {
    const maVector3d d = target - m_start;
    const float along = d.x * m_headingSin + d.z * m_headingCos;
    const float across = d.x * m_headingCos - d.z * m_headingSin;
    if (!std::isfinite(along) || !std::isfinite(across) || !std::isfinite(d.y) || along < kMinFitAhead)
        return false;
    m_length = along;
    m_slide = -across;
    SetSlope(std::atan(d.y / (m_length + std::fabs(m_slide))));
    return true;
}

bool coCoasterPieceSTurn::SetEndHeading(float heading) {
    if (!WrapFiniteAngle(heading))
        return false;
    m_endHeading = heading;
    m_endHeadingSet = true;
    Build();
    return true;
}

maVector3d coCoasterPieceSTurn::SideAt(float s) const {
    const maVector3d tangent = BezierTangent(m_control, ParamAt(s));
    return maVector3d(tangent.z, 0.0f, -tangent.x);
}

maVector3d coCoasterPieceSTurn::LevelEnd() const {
    return m_start + HeadingForward() * m_length - HeadingSide() * m_slide;
}

maVector3d coCoasterPieceSTurn::GetEnd() const {
    return LevelEnd() + maVector3d(0.0f, GetSpan() * m_slopeTan, 0.0f);
}

void coCoasterPieceSTurn::Build() {
    const maVector3d forward = HeadingForward();
    const float handle = kHandleShare * m_length;
    m_control[0] = m_start;
    m_control[1] = m_start + forward * handle;
    m_control[3] = LevelEnd();
    m_control[2] = m_control[3] - coForward(GetEndHeading()) * handle;
    // The ground the curve covers per unit of t at either end, as shares of the span (coClimbShare).
    const float span = GetSpan();
    for (int end = 0; end < 2; ++end)
        m_endRates[end] =
            span > 0.0f ? std::min(BezierDerivative(m_control, static_cast<float>(end)).Length() / span, 3.0f)
                        : 1.0f;
    SampleCentreLine();
}

maVector3d coCoasterPieceSTurn::Evaluate(float t, maVector3d* direction) const {
    float climbRate = 0.0f;
    const float climb = coClimbShare(t, m_endRates[0], m_endRates[1], direction ? &climbRate : nullptr);
    maVector2d rate;
    const maVector2d offset = VerticalProfileOffset(*this, climb, nullptr, direction ? &rate : nullptr);
    // The fillet's offset runs along the start heading in the first half and the end heading in the second.
    const maVector3d along = t <= 0.5f ? HeadingForward() : coForward(GetEndHeading());
    const maVector3d rise(0.0f, GetSpan() * m_slopeTan, 0.0f);
    // The direction is the derivative of the point, so that the train's pull along it matches the heights.
    if (direction)
        *direction = coNormalised(BezierDerivative(m_control, t) + (rise + coAlong(rate, along)) * climbRate);
    return BezierPoint(m_control, t) + rise * climb + coAlong(offset, along);
}

maMatrix4d coCoasterPieceSTurn::FrameAt(float s) const {
    return SideFrame(s, RollAt(*this, s));
}
