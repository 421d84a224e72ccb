#include "Source/Track/coNurbsCurve.h"

#include "Source/Track/coBezier.h"

#include "Source/Track/coTrackTestSupport.h"

TEST(coNurbsCurve, ClampedCubicIsTheBezierAndContinuesPastItsEnds) {
    const maVector3d p[4] = {maVector3d(0, 0, 0), maVector3d(1, 3, 0), maVector3d(4, 3, 1),
                             maVector3d(5, 0, 2)};
    // Weights of 2: the curve divides them out.
    const maVector4d points[4] = {maVector4d(0, 0, 0, 2), maVector4d(2, 6, 0, 2), maVector4d(8, 6, 2, 2),
                                  maVector4d(10, 0, 4, 2)};
    const float knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    coNurbsCurve curve;
    curve.SetControlPoints(points, 4);
    curve.SetKnots(knots, 8);
    for (float t : {0.0f, 0.1f, 0.5f, 0.77f, 1.0f}) {
        ExpectVectorNear(curve.PointAt(t), BezierPoint(p, t), 1e-5f);
        ExpectVectorNear(curve.TangentAt(t), BezierTangent(p, t), 1e-5f);
    }
    // Past the end the last span's polynomial goes on (a ratio above 1 of a half loop).
    for (float t : {-0.2f, 1.1f}) {
        const float u = 1.0f - t;
        const maVector3d cubic =
            p[0] * (u * u * u) + p[1] * (3 * u * u * t) + p[2] * (3 * u * t * t) + p[3] * (t * t * t);
        ExpectVectorNear(curve.PointAt(t), cubic, 1e-5f);
    }
    // The domain's end belongs to the last span, whose basis is not all zero there.
    EXPECT_EQ(coNurbsCurve::FindSpan(1.0f, knots, 4, 4), 3);
}

TEST(coNurbsCurve, LoopProfileTop) {
    const float L = 30.0f, H = 30.0f;
    const maVector4d points[7] = {
        maVector4d(0, 0, 0, 1),
        maVector4d(0.4583333f * L, 0.005284398f * H, 0, 1),
        maVector4d(1.171966f * L, 0.6937676f * H, 0, 1),
        maVector4d(0.5f * L, 1.358124f * H, 0, 1),
        maVector4d(-0.1514443f * L, 0.6937676f * H, 0, 1),
        maVector4d(0.5416667f * L, 0.005284398f * H, 0, 1),
        maVector4d(L, 0, 0, 1),
    };
    const float knots[11] = {0, 0, 0, 0, 1, 2, 3, 4, 4, 4, 4};
    coNurbsCurve curve;
    curve.SetControlPoints(points, 7);
    curve.SetKnots(knots, 11);
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(0.5034203f * L, 1.136672f * H, 0), 1e-4f);
    ExpectVectorNear(curve.PointAt(1.0f), maVector3d(L, 0, 0), 1e-5f);
    // Over the top the loop runs backwards, level.
    EXPECT_LT(curve.TangentAt(0.5f).x, -0.99f);
}

TEST(coNurbsCurve, KnotsThatDoNotFitGiveTheOriginAndZeroWeightsStayFinite) {
    coNurbsCurve curve;
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(0, 0, 0), 0.0f);
    const maVector4d points[3] = {maVector4d(1, 1, 1, 1), maVector4d(2, 2, 2, 1), maVector4d(3, 3, 3, 1)};
    curve.SetControlPoints(points, 3);
    ExpectVectorNear(curve.TangentAt(0.5f), maVector3d(0, 0, 0), 0.0f);
    const float tooFew[2] = {0, 1};
    curve.SetKnots(tooFew, 2);
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(0, 0, 0), 0.0f);
    // Order 2 (the polyline) is fine; a negative knot count is not.
    const float polyline[5] = {0, 0, 1, 2, 2};
    curve.SetKnots(polyline, 5);
    ExpectVectorNear(curve.PointAt(0.25f), maVector3d(1.5f, 1.5f, 1.5f), 1e-6f);
    curve.SetKnots(polyline, -3);
    ExpectVectorNear(curve.PointAt(0.25f), maVector3d(0, 0, 0), 0.0f);

    const maVector4d weightless[4] = {maVector4d(0, 0, 0, 0), maVector4d(1, 0, 0, 0), maVector4d(1, 1, 0, 0),
                                      maVector4d(0, 1, 0, 0)};
    const float knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    curve.SetControlPoints(weightless, 4);
    curve.SetKnots(knots, 8);
    for (float t : {0.0f, 0.5f, 1.0f, 1.2f}) {
        const maVector3d p = curve.PointAt(t);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << t;
    }
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(0.75f, 0.5f, 0), 1e-6f);
}
