#include "Source/Track/coNurbsCurve.h"

#include <algorithm>

void coNurbsCurve::SetControlPoints(const maVector4d* points, int count) {
    m_controlPoints.assign(points, points + std::max(count, 0));
}

void coNurbsCurve::SetKnots(const float* knots, int count) {
    m_knots.assign(knots, knots + std::max(count, 0));
}

int coNurbsCurve::GetOrder() const {
    const int n = static_cast<int>(m_controlPoints.size());
    const int k = static_cast<int>(m_knots.size()) - n;
    return n >= 1 && k >= 1 && k <= kMaxOrder && n >= k ? k : 0;
}

int coNurbsCurve::SpanOf(float t, float& u) const {
    const int n = static_cast<int>(m_controlPoints.size());
    const int k = GetOrder();
    const float* knots = m_knots.data();
    u = knots[k - 1] + t * (knots[n] - knots[k - 1]);
    return std::clamp(FindSpan(u, knots, n, k), k - 1, n - 1);
}

maVector3d coNurbsCurve::PointAt(float t) const {
    const int k = GetOrder();
    if (k == 0)
        return maVector3d();
    float u = 0.0f;
    const int span = SpanOf(t, u);
    float basis[kMaxOrder];
    BasisFunctions(u, span, m_knots.data(), k, basis);
    maVector4d sum;
    for (int j = 0; j < k; ++j) {
        const maVector4d& p = m_controlPoints[static_cast<size_t>(span - j)];
        sum = maVector4d(sum.x + basis[j] * p.x, sum.y + basis[j] * p.y, sum.z + basis[j] * p.z,
                         sum.w + basis[j] * p.w);
    }
    // Weights that cancel put the point at infinity; the unweighted sum keeps it finite.
    if (sum.w == 0.0f)
        return maVector3d(sum.x, sum.y, sum.z);
    return maVector3d(sum.x / sum.w, sum.y / sum.w, sum.z / sum.w);
}

maVector3d coNurbsCurve::TangentAt(float t) const {
    const int k = GetOrder();
    if (k == 0)
        return maVector3d();
    float u = 0.0f;
    const int span = SpanOf(t, u);
    float derivatives[kMaxOrder];
    BasisDerivatives(u, span, m_knots.data(), k, derivatives);
    maVector3d d;
    for (int j = 0; j < k; ++j) {
        const maVector4d& p = m_controlPoints[static_cast<size_t>(span - j)];
        d = d + maVector3d(p.x, p.y, p.z) * derivatives[j];
    }
    const float length = d.Length();
    return length > 0.0f ? d / length : d;
}

int coNurbsCurve::FindSpan(float u, const float* knots, int n, int k) {
    if (u == knots[n])
        return n - 1;
    int i = n + k - 1;
    if (u >= knots[i])
        return i;
    do {
        --i;
    } while (i > 0 && !(u >= knots[i]));
    return i;
}

// The triangular scheme: the basis values of one span built up order by order. Evaluated off the span
// it continues that span's polynomial, so the curve extends smoothly past its ends.
void coNurbsCurve::BasisFunctions(float u, int span, const float* knots, int k, float* values) {
    float ascending[kMaxOrder]; // value r belongs to control point span - (k - 1) + r
    float left[kMaxOrder];
    float right[kMaxOrder];
    ascending[0] = 1.0f;
    for (int j = 1; j < k; ++j) {
        left[j] = u - knots[span + 1 - j];
        right[j] = knots[span + j] - u;
        float saved = 0.0f;
        for (int r = 0; r < j; ++r) {
            const float denominator = right[r + 1] + left[j - r];
            const float term = denominator != 0.0f ? ascending[r] / denominator : 0.0f;
            ascending[r] = saved + right[r + 1] * term;
            saved = left[j - r] * term;
        }
        ascending[j] = saved;
    }
    for (int j = 0; j < k; ++j)
        values[j] = ascending[k - 1 - j];
}

void coNurbsCurve::BasisDerivatives(float u, int span, const float* knots, int k, float* values) {
    const int degree = k - 1;
    if (degree == 0) {
        values[0] = 0.0f;
        return;
    }
    // lower[j] is the order k - 1 value of control point span - j (none for span - degree).
    float lower[kMaxOrder];
    BasisFunctions(u, span, knots, k - 1, lower);
    for (int j = 0; j < k; ++j) {
        const int i = span - j; // the control point
        float d = 0.0f;
        if (j < degree) {
            const float width = knots[i + degree] - knots[i];
            if (width != 0.0f)
                d += lower[j] / width;
        }
        if (j > 0) {
            const float width = knots[i + degree + 1] - knots[i + 1];
            if (width != 0.0f)
                d -= lower[j - 1] / width;
        }
        values[j] = static_cast<float>(degree) * d;
    }
}
