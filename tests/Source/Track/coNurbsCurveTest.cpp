#include "Source/Track/coNurbsCurve.h"

#include "Source/Track/coBezier.h"

#include "coTrackTestSupport.h"

namespace {

// The cubic through four points written out, valid past [0, 1] as well.
maVector3d Cubic(const maVector3d p[4], float t) {
    const float u = 1.0f - t;
    return p[0] * (u * u * u) + p[1] * (3 * u * u * t) + p[2] * (3 * u * t * t) + p[3] * (t * t * t);
}

} // namespace

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

    ExpectVectorNear(curve.PointAt(0.0f), p[0], 0.0f);
    ExpectVectorNear(curve.PointAt(1.0f), p[3], 1e-6f);
    for (float t : {0.1f, 0.5f, 0.77f})
        ExpectVectorNear(curve.PointAt(t), BezierPoint(p, t), 1e-5f);
    // Past the end the last span's polynomial goes on (a ratio above 1 of a half loop).
    ExpectVectorNear(curve.PointAt(1.1f), Cubic(p, 1.1f), 1e-5f);
    ExpectVectorNear(curve.PointAt(-0.2f), Cubic(p, -0.2f), 1e-5f);

    ExpectVectorNear(curve.TangentAt(0.0f), BezierTangent(p, 0.0f), 1e-6f);
    ExpectVectorNear(curve.TangentAt(0.4f), BezierTangent(p, 0.4f), 1e-5f);
    ExpectVectorNear(curve.TangentAt(1.0f), BezierTangent(p, 1.0f), 1e-5f);
}

TEST(coNurbsCurve, LoopProfileTopAndSpans) {
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
    ExpectVectorNear(curve.PointAt(0.0f), maVector3d(0, 0, 0), 0.0f);
    ExpectVectorNear(curve.PointAt(1.0f), maVector3d(L, 0, 0), 1e-5f);
    // Over the top the loop runs backwards, level.
    const maVector3d top = curve.TangentAt(0.5f);
    EXPECT_LT(top.x, -0.99f);

    EXPECT_EQ(coNurbsCurve::FindSpan(4.0f, knots, 7, 4), 6); // the domain's end: the last span
    EXPECT_EQ(coNurbsCurve::FindSpan(0.0f, knots, 7, 4), 3);
    EXPECT_EQ(coNurbsCurve::FindSpan(2.5f, knots, 7, 4), 5);
    EXPECT_EQ(coNurbsCurve::FindSpan(9.0f, knots, 7, 4), 10); // clamped by the caller
    EXPECT_EQ(coNurbsCurve::FindSpan(-1.0f, knots, 7, 4), 0);

    // The basis values of a span sum to 1 and their derivatives to 0.
    float values[4], derivatives[4];
    coNurbsCurve::BasisFunctions(2.3f, 5, knots, 4, values);
    coNurbsCurve::BasisDerivatives(2.3f, 5, knots, 4, derivatives);
    EXPECT_NEAR(values[0] + values[1] + values[2] + values[3], 1.0f, 1e-6f);
    EXPECT_NEAR(derivatives[0] + derivatives[1] + derivatives[2] + derivatives[3], 0.0f, 1e-6f);
}

TEST(coNurbsCurve, KnotsThatDoNotFitGiveTheOrigin) {
    coNurbsCurve curve;
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(0, 0, 0), 0.0f);
    const maVector4d points[3] = {maVector4d(1, 1, 1, 1), maVector4d(2, 2, 2, 1), maVector4d(3, 3, 3, 1)};
    curve.SetControlPoints(points, 3);
    ExpectVectorNear(curve.TangentAt(0.5f), maVector3d(0, 0, 0), 0.0f);
    const float tooFew[2] = {0, 1};
    curve.SetKnots(tooFew, 2);
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(0, 0, 0), 0.0f);
    // Order 1 (a step function over the points) and order 2 (the polyline) are fine.
    const float steps[4] = {0, 1, 2, 3};
    curve.SetKnots(steps, 4);
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(2, 2, 2), 0.0f);
    const float polyline[5] = {0, 0, 1, 2, 2};
    curve.SetKnots(polyline, 5);
    ExpectVectorNear(curve.PointAt(0.25f), maVector3d(1.5f, 1.5f, 1.5f), 1e-6f);
    ExpectVectorNear(curve.TangentAt(0.25f), maVector3d(1, 1, 1) / std::sqrt(3.0f), 1e-6f);
    curve.SetKnots(polyline, -3);
    ExpectVectorNear(curve.PointAt(0.25f), maVector3d(0, 0, 0), 0.0f);
}

TEST(coNurbsCurve, ZeroWeightsStayFinite) {
    coNurbsCurve curve;
    const maVector4d points[4] = {maVector4d(0, 0, 0, 0), maVector4d(1, 0, 0, 0), maVector4d(1, 1, 0, 0),
                                  maVector4d(0, 1, 0, 0)};
    const float knots[8] = {0, 0, 0, 0, 1, 1, 1, 1};
    curve.SetControlPoints(points, 4);
    curve.SetKnots(knots, 8);
    for (float t : {0.0f, 0.5f, 1.0f, 1.2f}) {
        const maVector3d p = curve.PointAt(t);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << t;
    }
    ExpectVectorNear(curve.PointAt(0.5f), maVector3d(0.75f, 0.5f, 0), 1e-6f);
}
