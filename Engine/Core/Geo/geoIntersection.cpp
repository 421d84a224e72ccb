#include "Engine/Core/Geo/geoIntersection.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr float kEpsilon = 0.000001f;

maVector3d Cross(const maVector3d& a, const maVector3d& b) {
    maVector3d c;
    a.Cross(b, c);
    return c;
}

float SquaredLength(const maVector3d& v) {
    return maDot(v, v);
}

// --- Triangle against triangle (interval overlap on the planes' common line) ---

// The interval of one triangle on the common line, from its projected vertices vp and plane distances d.
// False when the triangle lies in the other's plane.
bool ComputeInterval(const float vp[3], const float d[3], float& lo, float& hi) {
    int k;
    if (d[0] * d[1] > 0.0f)
        k = 2;
    else if (d[0] * d[2] > 0.0f)
        k = 1;
    else if (d[1] * d[2] > 0.0f || d[0] != 0.0f)
        k = 0;
    else if (d[1] != 0.0f)
        k = 1;
    else if (d[2] != 0.0f)
        k = 2;
    else
        return false;
    // The lone vertex k is on one side; the others are on the far side or in the plane.
    const int i = k == 0 ? 1 : 0;
    const int j = k == 2 ? 1 : 2;
    lo = vp[k] + (vp[i] - vp[k]) * d[k] / (d[k] - d[i]);
    hi = vp[k] + (vp[j] - vp[k]) * d[k] / (d[k] - d[j]);
    if (lo > hi)
        std::swap(lo, hi);
    return true;
}

struct Projected {
    float x, y;
};

// Does edge v0-v1 (direction ax, ay) cross edge u0-u1? Collinear edges are not counted.
bool EdgeEdge(Projected v0, float ax, float ay, Projected u0, Projected u1) {
    const float bx = u0.x - u1.x, by = u0.y - u1.y;
    const float cx = v0.x - u0.x, cy = v0.y - u0.y;
    const float f = ay * bx - ax * by;
    const float d = by * cx - bx * cy;
    if ((f > 0.0f && d >= 0.0f && d <= f) || (f < 0.0f && d <= 0.0f && d >= f)) {
        const float e = ax * cy - ay * cx;
        if (f > 0.0f)
            return e >= 0.0f && e <= f;
        return e <= 0.0f && e >= f;
    }
    return false;
}

bool EdgeAgainstTriangleEdges(Projected v0, Projected v1, const Projected u[3]) {
    const float ax = v1.x - v0.x, ay = v1.y - v0.y;
    return EdgeEdge(v0, ax, ay, u[0], u[1]) || EdgeEdge(v0, ax, ay, u[1], u[2]) ||
           EdgeEdge(v0, ax, ay, u[2], u[0]);
}

// Strictly inside: the point lies on the same side of all three edge lines.
bool PointInTriangle2d(Projected p, const Projected u[3]) {
    float side[3];
    for (int e = 0; e < 3; ++e) {
        const Projected a = u[e], b = u[(e + 1) % 3];
        const float la = b.y - a.y;
        const float lb = -(b.x - a.x);
        const float lc = -la * a.x - lb * a.y;
        side[e] = la * p.x + lb * p.y + lc;
    }
    return side[0] * side[1] > 0.0f && side[0] * side[2] > 0.0f;
}

bool CoplanarTrianglesIntersect(const maVector3d& N, const maVector3d* V[3], const maVector3d* U[3]) {
    // Project on the two axes other than the normal's largest component.
    const float ax = std::abs(N.x), ay = std::abs(N.y), az = std::abs(N.z);
    int i0, i1;
    if (ax > ay) {
        if (ax > az)
            i0 = 1, i1 = 2;
        else
            i0 = 0, i1 = 1;
    } else {
        if (az > ay)
            i0 = 0, i1 = 1;
        else
            i0 = 0, i1 = 2;
    }
    Projected v[3], u[3];
    for (int i = 0; i < 3; ++i) {
        v[i] = {(*V[i])[i0], (*V[i])[i1]};
        u[i] = {(*U[i])[i0], (*U[i])[i1]};
    }
    for (int e = 0; e < 3; ++e)
        if (EdgeAgainstTriangleEdges(v[e], v[(e + 1) % 3], u))
            return true;
    return PointInTriangle2d(v[0], u) || PointInTriangle2d(u[0], v);
}

// Signed distances of three points to the plane n.x + d = 0, with values within epsilon taken as 0.
void PlaneDistances(const maVector3d& n, float d, const maVector3d* P[3], float out[3]) {
    for (int i = 0; i < 3; ++i) {
        out[i] = maDot(n, *P[i]) + d;
        if (std::abs(out[i]) < kEpsilon)
            out[i] = 0.0f;
    }
}

// The four end-point distances decide when a closest point of the lines lies outside a segment: the
// nearest approach of two segments is then at an end of one of them.
bool EndPointsWithin(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2, const maVector3d& d2,
                     float R) {
    maVector3d u1 = d1, u2 = d2;
    const float L1 = geoNormalise(u1), L2 = geoNormalise(u2);
    return geoSquaredDistanceToSegment(p2, p1, u1, L1) <= R ||
           geoSquaredDistanceToSegment(p2 + d2, p1, u1, L1) <= R ||
           geoSquaredDistanceToSegment(p1, p2, u2, L2) <= R ||
           geoSquaredDistanceToSegment(p1 + d1, p2, u2, L2) <= R;
}

} // namespace

bool geoClamp01(float& t) {
    if (t < 0.0f) {
        t = 0.0f;
        return true;
    }
    if (t > 1.0f) {
        t = 1.0f;
        return true;
    }
    return false;
}

float geoNormalise(maVector3d& v) {
    const float len = v.Length();
    if (len > 0.0f)
        v = v / len;
    return len;
}

float geoSquaredDistanceToSegment(const maVector3d& q, const maVector3d& start, const maVector3d& unitDir,
                                  float length) {
    const float s = std::clamp(maDot(q - start, unitDir), 0.0f, length);
    return SquaredLength(start + unitDir * s - q);
}

bool geoTrianglesIntersect(const maVector3d& V0, const maVector3d& V1, const maVector3d& V2,
                           const maVector3d& N1, const maVector3d& U0, const maVector3d& U1,
                           const maVector3d& U2, const maVector3d& N2) {
    const maVector3d* V[3] = {&V0, &V1, &V2};
    const maVector3d* U[3] = {&U0, &U1, &U2};

    float du[3], dv[3];
    PlaneDistances(N1, -maDot(N1, V0), U, du);
    if (du[0] * du[1] > 0.0f && du[0] * du[2] > 0.0f)
        return false;
    PlaneDistances(N2, -maDot(N2, U0), V, dv);
    if (dv[0] * dv[1] > 0.0f && dv[0] * dv[2] > 0.0f)
        return false;

    // Project on the largest axis of the common line's direction, ties going to the later axis.
    const maVector3d D = Cross(N1, N2);
    const float ax = std::abs(D.x), ay = std::abs(D.y), az = std::abs(D.z);
    int index;
    if (ax <= ay)
        index = az >= ay ? 2 : 1;
    else
        index = az >= ax ? 2 : 0;
    const float vp[3] = {V0[index], V1[index], V2[index]};
    const float up[3] = {U0[index], U1[index], U2[index]};

    float vLo, vHi, uLo, uHi;
    if (!ComputeInterval(vp, dv, vLo, vHi) || !ComputeInterval(up, du, uLo, uHi))
        return CoplanarTrianglesIntersect(N1, V, U);
    return !(vHi < uLo || uHi < vLo);
}

bool geoCapsulesTouch(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2, const maVector3d& d2,
                      float r1, float r2, bool sphericalCaps) {
    const float R = (r1 + r2) * (r1 + r2);
    float t1, t2;
    if (!geoClosestPointsOfLines(p1, d1, p2, d2, t1, t2)) {
        maVector3d u1 = d1;
        const float L1 = geoNormalise(u1);
        const float s = maDot(p2 - p1, u1);
        if (SquaredLength(p2 - (p1 + u1 * s)) > R)
            return false;
        const float s2 = maDot(p2 + d2 - p1, u1);
        const bool overlap = !(s < 0.0f && s2 < 0.0f) && (s <= L1 || s2 <= L1);
        if (overlap)
            return true;
        // Parallel segments apart along their axis: flat ends never meet, round ends may.
        return sphericalCaps && EndPointsWithin(p1, d1, p2, d2, R);
    }

    const bool clamped1 = geoClamp01(t1);
    const bool clamped2 = geoClamp01(t2);
    if (clamped1 || clamped2) {
        if (!EndPointsWithin(p1, d1, p2, d2, R))
            return false;
    } else if (SquaredLength(p1 + d1 * t1 - (p2 + d2 * t2)) > R) {
        return false;
    }
    if (sphericalCaps)
        return true;

    // Flat ends: try the two axes as separating directions. Along u1 the first cylinder reaches h1 and
    // the second c*h2 plus its radius times the sine of the angle between the axes, |n|.
    maVector3d u1 = d1, u2 = d2;
    const float h1 = geoNormalise(u1) / 2.0f;
    const float h2 = geoNormalise(u2) / 2.0f;
    const maVector3d D = (p2 + u2 * h2) - (p1 + u1 * h1);
    const float c = std::abs(maDot(u1, u2));
    const float nn = SquaredLength(Cross(u1, u2));
    const float a = std::abs(maDot(D, u1)) - h1 - c * h2;
    if (a > 0.0f && a * a > nn * r2 * r2)
        return false;
    const float b = std::abs(maDot(D, u2)) - h2 - c * h1;
    if (b <= 0.0f)
        return true;
    return b * b <= nn * r1 * r1;
}

bool geoCylindersTouch(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2, const maVector3d& d2,
                       float r1, float r2) {
    return geoCapsulesTouch(p1, d1, p2, d2, r1, r2, false);
}

bool geoPointNearSegment(const maVector3d& p, const maVector3d& d, const maVector3d& q, float r, float& t) {
    const float dd = SquaredLength(d);
    if (dd == 0.0f)
        return false;
    float s = maDot(q - p, d) / dd;
    geoClamp01(s);
    if (SquaredLength(p + d * s - q) > r * r)
        return false;
    t = s;
    return true;
}

bool geoIntersectSegmentBox(const maVector3d& p, const maVector3d& d, const maVector3d& boxMin,
                            const maVector3d& boxMax, float& t) {
    int axis = 0;
    float best = 0.0f;
    for (int k = 0; k < 3; ++k) {
        const float plane = d[k] > 0.0f ? boxMin[k] : boxMax[k];
        const float tk = d[k] != 0.0f ? (plane - p[k]) / d[k] : 0.0f;
        if (k == 0 || tk > best) {
            best = tk;
            axis = k;
        }
    }
    if (best < 0.0f || best > 1.0f)
        return false;
    const maVector3d hit = p + d * best;
    for (int k = 0; k < 3; ++k) {
        // The entry plane's own axis holds by construction, except when the start is the entry point.
        if (k == axis && best != 0.0f)
            continue;
        if (hit[k] < boxMin[k] || hit[k] > boxMax[k])
            return false;
    }
    t = best;
    return true;
}

bool geoSegmentsWithinDistance(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2,
                               const maVector3d& d2, float radius, float& t) {
    float t1, t2;
    if (!geoClosestPointsOfLines(p1, d1, p2, d2, t1, t2))
        return false;
    if (t2 < 0.0f || t2 > 1.0f)
        return false;
    geoClamp01(t1);
    if (SquaredLength(p1 + d1 * t1 - (p2 + d2 * t2)) >= radius * radius)
        return false;
    t = t1;
    return true;
}

bool geoIntersectLinePlane(const maVector3d& p, const maVector3d& d, const maVector3d& q, const maVector3d& n,
                           float& t) {
    const float nw = maDot(n, q - p);
    if (nw == 0.0f) {
        t = 0.0f;
        return true;
    }
    const float nd = maDot(n, d);
    if (nd == 0.0f)
        return false;
    t = nw / nd;
    return true;
}

bool geoClosestPointsOfLines(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2,
                             const maVector3d& d2, float& t1, float& t2) {
    maVector3d m = Cross(d1, d2);
    if (m.Length() < kEpsilon) {
        t1 = 0.0f;
        t2 = 0.0f;
        return false;
    }
    geoNormalise(m);
    // Line 1 meets the plane through line 2 that contains the common perpendicular, and vice versa.
    maVector3d n2 = Cross(m, d2);
    geoNormalise(n2);
    maVector3d n1 = Cross(m, d1);
    geoNormalise(n1);
    t1 = 0.0f;
    t2 = 0.0f;
    geoIntersectLinePlane(p1, d1, p2, n2, t1);
    geoIntersectLinePlane(p2, d2, p1, n1, t2);
    return true;
}

bool geoPointInTriangle(const maVector3d& A, const maVector3d& B, const maVector3d& C, const maVector3d& P,
                        const maVector3d& N, float& u, float& v) {
    // Drop the axis of the normal's largest magnitude.
    const float nx = std::abs(N.x), ny = std::abs(N.y), nz = std::abs(N.z);
    int a, b;
    if (nx <= ny) {
        a = 0;
        b = nz >= ny ? 1 : 2;
    } else {
        a = 1;
        b = nz >= nx ? 0 : 2;
    }
    const maVector3d e1 = B - A, e2 = C - A, w = P - A;
    if (std::abs(e1[a]) >= kEpsilon) {
        const float den = e2[b] * e1[a] - e1[b] * e2[a];
        if (den == 0.0f)
            return false;
        v = (w[b] * e1[a] - e1[b] * w[a]) / den;
        if (v < 0.0f || v > 1.0f)
            return false;
        u = (w[a] - v * e2[a]) / e1[a];
    } else {
        if (e2[a] == 0.0f)
            return false;
        v = w[a] / e2[a];
        if (v < 0.0f || v > 1.0f)
            return false;
        if (e1[b] == 0.0f)
            return false;
        u = (w[b] - v * e2[b]) / e1[b];
    }
    return u >= 0.0f && u + v <= 1.0f;
}
