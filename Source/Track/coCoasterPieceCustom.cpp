#include "Source/Track/coCoasterPieceCustom.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Source/Track/coBezier.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// Share of the distance between two points that their tangents reach out.
constexpr float kTangentShare = 0.35f;
// Within this of either end the piece takes the slope fillet's direction, so that it meets its neighbours.
constexpr float kEndBand = 0.000001f;

maVector3d SlopeHeadingDir(float slope, float heading) {
    return maVector3d(std::sin(heading) * std::cos(slope), std::sin(slope),
                      std::cos(heading) * std::cos(slope));
}

maVector3d SlopeHeadingUp(float slope, float heading) {
    return maVector3d(-std::sin(heading) * std::sin(slope), std::cos(slope),
                      -std::cos(heading) * std::sin(slope));
}

bool IsFinite(const coCustomPoint& point) {
    return std::isfinite(point.position.x) && std::isfinite(point.position.y) &&
           std::isfinite(point.position.z) && std::isfinite(point.slope) && std::isfinite(point.heading) &&
           std::isfinite(point.tangentScale) && std::isfinite(point.roll);
}
} // namespace

bool coCoasterPieceCustom::SetPoints(const std::vector<coCustomPoint>& points) {
    if (points.size() < 2 || points.size() > kMaxPoints ||
        !std::all_of(points.begin(), points.end(), IsFinite))
        return false;
    m_localPoints = points;
    Build();
    return true;
}

bool coCoasterPieceCustom::SetPointsFromArrays(int count, const maVector3d* positions, const float* slopes,
                                               const float* headings, const float* tangentScales,
                                               const float* rolls) {
    if (count < 2 || !positions || !slopes || !headings || !tangentScales || !rolls)
        return false;
    std::vector<coCustomPoint> points(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        points[i] = coCustomPoint{positions[i], slopes[i], headings[i], tangentScales[i], rolls[i]};
    return SetPoints(points);
}

void coCoasterPieceCustom::ClearPoints() {
    std::vector<coCustomPoint>().swap(m_localPoints);
    Build();
}

float coCoasterPieceCustom::GetRoll(int atEnd) const {
    if (atEnd != 1 || !HasShape())
        return m_roll;
    const coCustomPoint& last = m_placedPoints.back();
    const float upsideDown = std::fabs(last.slope) > maHalfPiF ? maPiF : 0.0f;
    return last.roll + m_roll + upsideDown;
}

float coCoasterPieceCustom::GetSlope(int atEnd) const {
    return atEnd == 1 && HasShape() ? m_placedPoints.back().slope : m_slope;
}

float coCoasterPieceCustom::GetSlopeTan(int atEnd) const {
    return std::tan(GetSlope(atEnd));
}

void coCoasterPieceCustom::Reverse() {
    const maVector3d end = GetEnd();
    const float endHeading = GetEndHeading();
    Place(end, endHeading + maPiF);
    std::swap(m_previous, m_next);
}

float coCoasterPieceCustom::GetEndHeading() const {
    if (!HasShape())
        return m_heading;
    const maVector3d tangent = CurveTangent(1.0f);
    // A curve ending straight up or down has no direction on the ground; its last point still has one.
    if (tangent.x == 0.0f && tangent.z == 0.0f)
        return m_placedPoints.back().heading;
    return std::atan2(tangent.x, tangent.z);
}

maVector3d coCoasterPieceCustom::GetEnd() const {
    return HasShape() ? CurvePoint(1.0f) : m_start;
}

void coCoasterPieceCustom::Build() {
    // The span is measured on the curve without its fillets, at the table's parameters, and before the
    // points are placed, so that where the piece lies cannot round it. Taken from the table, it would
    // size the fillets by themselves: by the previous build's, and through them by the neighbours'
    // neighbours.
    m_placedPoints = m_localPoints;
    m_span = 0.0f;
    if (HasShape()) {
        maVector3d previous = CurvePoint(0.0f);
        float t = 0.0f;
        for (int i = 1; i < kSampleCount; ++i) {
            t += kSampleStep;
            const maVector3d point = CurvePoint(t);
            m_span += (point - previous).Length();
            previous = point;
        }
    }

    maMatrix4d placement;
    placement.SetRotationY(m_heading);
    placement.ReplaceTranslation(m_start);
    for (coCustomPoint& point : m_placedPoints) {
        placement.TransformPointInPlace(point.position);
        point.heading += m_heading;
    }
    SampleCentreLine();
}

coCoasterPieceCustom::Segment coCoasterPieceCustom::SegmentAt(float t) const {
    const int lastSegment = static_cast<int>(m_placedPoints.size()) - 2;
    const float x = static_cast<float>(lastSegment + 1) * t;
    // t = 1 falls on the last segment with u = 1; parameters outside [0, 1] extend the end segments.
    const int index =
        x > 0.0f ? (x < static_cast<float>(lastSegment) ? static_cast<int>(x) : lastSegment) : 0;
    return {index, x - static_cast<float>(index)};
}

void coCoasterPieceCustom::SegmentControls(int index, maVector3d controls[4]) const {
    const coCustomPoint& a = m_placedPoints[index];
    const coCustomPoint& b = m_placedPoints[index + 1];
    const float reach = kTangentShare * (b.position - a.position).Length();
    controls[0] = a.position;
    controls[1] = a.position + SlopeHeadingDir(a.slope, a.heading) * (reach * a.tangentScale);
    controls[2] = b.position - SlopeHeadingDir(b.slope, b.heading) * (reach * b.tangentScale);
    controls[3] = b.position;
}

maVector3d coCoasterPieceCustom::CurvePoint(float t) const {
    const Segment segment = SegmentAt(t);
    maVector3d controls[4];
    SegmentControls(segment.index, controls);
    return BezierPoint(controls, segment.u);
}

maVector3d coCoasterPieceCustom::CurveTangent(float t) const {
    const Segment segment = SegmentAt(t);
    maVector3d controls[4];
    SegmentControls(segment.index, controls);
    const maVector3d tangent = BezierTangent(controls, segment.u);
    // A tangent scale of 0 puts a control point on its end point, where the derivative vanishes; the
    // segment then leaves along its chord (exactly so when both scales are 0).
    if (tangent.x == 0.0f && tangent.y == 0.0f && tangent.z == 0.0f)
        return coNormalised(controls[3] - controls[0]);
    return tangent;
}

maVector3d coCoasterPieceCustom::CurveUp(float t) const {
    if (!HasShape())
        return SlopeHeadingUp(m_slope, m_heading);
    const Segment segment = SegmentAt(t);
    const coCustomPoint& a = m_placedPoints[segment.index];
    const coCustomPoint& b = m_placedPoints[segment.index + 1];
    return SlopeHeadingUp(a.slope + (b.slope - a.slope) * segment.u,
                          a.heading + (b.heading - a.heading) * segment.u);
}

float coCoasterPieceCustom::CurveRoll(float t) const {
    if (!HasShape())
        return 0.0f;
    const Segment segment = SegmentAt(t);
    const coCustomPoint& a = m_placedPoints[segment.index];
    const coCustomPoint& b = m_placedPoints[segment.index + 1];
    return a.roll + (b.roll - a.roll) * segment.u;
}

maVector3d coCoasterPieceCustom::Evaluate(float t, maVector3d* direction) const {
    if (!HasShape()) {
        if (direction)
            *direction = coNormalised(maVector3d(m_headingSin, m_slopeTan, m_headingCos));
        return m_start;
    }
    if (direction)
        *direction = CurveTangent(t);
    maVector2d profile;
    const maVector2d offset = VerticalProfileOffset(*this, t, direction ? &profile : nullptr);
    const maVector3d forward = coForward(t <= 0.5f ? m_heading : GetEndHeading());
    if (direction && (t < kEndBand || t > 1.0f - kEndBand))
        *direction = coNormalised(coAlong(profile, forward));
    return CurvePoint(t) + coAlong(offset, forward);
}

maMatrix4d coCoasterPieceCustom::FrameAt(float s) const {
    maVector3d tangent;
    const maVector3d point = PointAt(s, &tangent);
    const float t = ParamAt(s);
    return FrameLeaningUp(point, tangent, CurveUp(t), RollAt(*this, s) + CurveRoll(t));
}
