#include "Source/Track/coBezier.h"

#include <algorithm>

maVector3d BezierPoint(const maVector3d points[4], float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    const float u = 1.0f - t;
    return points[0] * (u * u * u) + points[1] * (3.0f * u * u * t) + points[2] * (3.0f * u * t * t) +
           points[3] * (t * t * t);
}

maVector3d BezierTangent(const maVector3d points[4], float t) {
    const float u = 1.0f - t;
    const maVector3d d = points[0] * (-3.0f * u * u) + points[1] * (3.0f * u * u - 6.0f * u * t) +
                         points[2] * (6.0f * u * t - 3.0f * t * t) + points[3] * (3.0f * t * t);
    const float length = d.Length();
    return length > 0.0f ? d / length : d;
}

float coEaseInOut(float t) {
    const maVector3d curve[4] = {maVector3d(0.0f, 0.0f, 0.0f), maVector3d(0.3f, 0.0f, 0.0f),
                                 maVector3d(0.7f, 1.0f, 0.0f), maVector3d(1.0f, 1.0f, 0.0f)};
    return BezierPoint(curve, t).y;
}
