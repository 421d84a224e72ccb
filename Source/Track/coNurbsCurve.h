#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <vector>

// A rational B-spline curve: homogeneous control points (X, Y, Z, W) and a non-decreasing knot vector.
// With n points and m knots its order is k = m - n and its domain [knots[k - 1], knots[n]]. Parameters
// outside the domain continue the polynomial of the first or last span.
class coNurbsCurve {
  public:
    void SetControlPoints(const maVector4d* points, int count);
    void SetKnots(const float* knots, int count);

    // The point at t in [0, 1] of the domain. A curve whose knots do not fit its points gives (0, 0, 0).
    maVector3d PointAt(float t) const;
    // The unit direction of the non-rational derivative at t: exact for curves of equal weights.
    maVector3d TangentAt(float t) const;

    // Orders above this are refused as not fitting.
    static constexpr int kMaxOrder = 8;

    // The span of u for n points of order k: n - 1 at the domain's end, else the last knot index whose
    // knot does not exceed u.
    static int FindSpan(float u, const float* knots, int n, int k);
    // The k basis values of order k at u on the span; value j belongs to control point span - j.
    static void BasisFunctions(float u, int span, const float* knots, int k, float* values);
    // Their first derivatives, in the same order.
    static void BasisDerivatives(float u, int span, const float* knots, int k, float* values);

  private:
    int GetOrder() const;
    // The domain parameter of t and its span, kept inside the curve's spans.
    int SpanOf(float t, float& u) const;

    std::vector<maVector4d> m_controlPoints;
    std::vector<float> m_knots;
};
