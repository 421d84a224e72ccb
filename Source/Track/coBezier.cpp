#include "Source/Track/coBezier.h"

#include <algorithm>

maVector3d BezierPoint(const maVector3d points[4], float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    const float u = 1.0f - t;
    return points[0] * (u * u * u) + points[1] * (3.0f * u * u * t) + points[2] * (3.0f * u * t * t) +
           points[3] * (t * t * t);
}

maVector3d BezierDerivative(const maVector3d points[4], float t) {
    const float u = 1.0f - t;
    return points[0] * (-3.0f * u * u) + points[1] * (3.0f * u * u - 6.0f * u * t) +
           points[2] * (6.0f * u * t - 3.0f * t * t) + points[3] * (3.0f * t * t);
}

maVector3d BezierTangent(const maVector3d points[4], float t) {
    const maVector3d d = BezierDerivative(points, t);
    const float length = d.Length();
    return length > 0.0f ? d / length : d;
}

float coClimbShare(float t, float m0, float m1, float* rate) {
    const float t2 = t * t, t3 = t2 * t;
    if (rate)
        *rate = 6.0f * (t - t2) + m0 * (3.0f * t2 - 4.0f * t + 1.0f) + m1 * (3.0f * t2 - 2.0f * t);
    return 3.0f * t2 - 2.0f * t3 + m0 * (t3 - 2.0f * t2 + t) + m1 * (t3 - t2);
}

float coEaseInOut(float t) {
    const maVector3d curve[4] = {maVector3d(0.0f, 0.0f, 0.0f), maVector3d(0.3f, 0.0f, 0.0f),
                                 maVector3d(0.7f, 1.0f, 0.0f), maVector3d(1.0f, 1.0f, 0.0f)};
    return BezierPoint(curve, t).y;
}
