#include "Engine/Core/Ma/maRotation.h"

#include "Engine/Core/Ma/maConstants.h"

#include <algorithm>
#include <cmath>

void maRotation::SetAxisAngle(const maVector3d& axis, float angle) {
    const float h = angle * 0.5f;
    maVector3d u = axis;
    if (maDot(u, u) != 0.0f)
        u = u / u.Length();
    const float s = std::sin(h);
    x = u.x * s;
    y = u.y * s;
    z = u.z * s;
    w = std::cos(h);
}

void maRotation::SetFromMatrix3d(const maMatrix3d& matrix) {
    auto m = [&matrix](int r, int c) { return matrix.m[r * 3 + c]; };
    const float trace = m(0, 0) + m(1, 1) + m(2, 2);
    if (trace > 0.0f) {
        float s = std::sqrt(trace + 1.0f);
        w = 0.5f * s;
        s = 0.5f / s;
        x = (m(1, 2) - m(2, 1)) * s;
        y = (m(2, 0) - m(0, 2)) * s;
        z = (m(0, 1) - m(1, 0)) * s;
        return;
    }
    // Start from the largest diagonal element, which keeps the square root well away from 0.
    int i = 0;
    if (m(0, 0) < m(1, 1))
        i = 1;
    if (m(i, i) < m(2, 2))
        i = 2;
    static const int next[3] = {1, 2, 0};
    const int j = next[i], k = next[j];
    float* v[3] = {&x, &y, &z};
    float s = std::sqrt(m(i, i) - (m(j, j) + m(k, k)) + 1.0f);
    *v[i] = 0.5f * s;
    if (s != 0.0f)
        s = 0.5f / s;
    w = (m(j, k) - m(k, j)) * s;
    *v[j] = (m(i, j) + m(j, i)) * s;
    *v[k] = (m(i, k) + m(k, i)) * s;
}

void maRotation::SetFromVectors(const maVector3d& from, const maVector3d& to) {
    maVector3d a = from, b = to;
    if (const float la = a.Length(); la > 0.0f)
        a = a / la;
    if (const float lb = b.Length(); lb > 0.0f)
        b = b / lb;
    maVector3d c;
    a.Cross(b, c);
    const float d = maDot(a, b);
    const float n = c.Length();
    if (n < 1e-6f) {
        if (d >= 0.0f)
            return;
        if (a.x == 0.0f && a.y == 0.0f)
            SetAxisAngle(maVector3d(0.0f, 1.0f, 0.0f), maPiF);
        else
            SetAxisAngle(maVector3d(-a.y, a.x, 0.0f), maPiF);
        return;
    }
    // Rounding can push the length of a cross product of unit vectors just above 1.
    float angle = std::asin(std::min(n, 1.0f));
    if (d < 0.0f)
        angle = maPiF - angle;
    SetAxisAngle(c / n, angle);
}

void maRotation::SetEuler(float ax, float ay, float az) {
    const maRotation qx(maVector3d(1.0f, 0.0f, 0.0f), ax);
    const maRotation qy(maVector3d(0.0f, 1.0f, 0.0f), ay);
    const maRotation qz(maVector3d(0.0f, 0.0f, 1.0f), az);
    *this = qz * qy * qx;
}

void maRotation::GetAxisAngle(maVector3d& axis, float& angle) const {
    axis = maVector3d(x, y, z);
    const float len = axis.Length();
    axis = len > 0.0f ? axis / len : maVector3d(0.0f, 0.0f, 0.0f);
    // A w a rounding step outside [-1, 1] would make acos NaN.
    angle = 2.0f * std::acos(std::clamp(w, -1.0f, 1.0f));
}

maMatrix4d maRotation::GetMatrix() const {
    maMatrix4d r;
    r.m[0] = 1.0f - 2.0f * (y * y + z * z);
    r.m[1] = 2.0f * (x * y + w * z);
    r.m[2] = 2.0f * (x * z - w * y);
    r.m[4] = 2.0f * (x * y - w * z);
    r.m[5] = 1.0f - 2.0f * (x * x + z * z);
    r.m[6] = 2.0f * (y * z + w * x);
    r.m[8] = 2.0f * (x * z + w * y);
    r.m[9] = 2.0f * (y * z - w * x);
    r.m[10] = 1.0f - 2.0f * (x * x + y * y);
    return r;
}

void maRotation::Rotate(maVector3d& v) const {
    maRotation conjugate = *this;
    conjugate.Conjugate();
    const maRotation r = *this * maRotation(v.x, v.y, v.z, 0.0f) * conjugate;
    v = maVector3d(r.x, r.y, r.z);
}

maRotation maRotation::operator*(const maRotation& o) const {
    maRotation r = *this;
    r *= o;
    return r;
}

maRotation& maRotation::operator*=(const maRotation& o) {
    const maVector3d va(x, y, z), vb(o.x, o.y, o.z);
    maVector3d c;
    va.Cross(vb, c);
    const maVector3d v = vb * w + va * o.w + c;
    w = w * o.w - maDot(va, vb);
    x = v.x;
    y = v.y;
    z = v.z;
    return *this;
}

void maRotation::Conjugate() {
    x = -x;
    y = -y;
    z = -z;
}

void maRotation::Slerp(const maRotation& a, const maRotation& b, float t) {
    maRotation to = b;
    float c = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (c < 0.0f) {
        c = -c;
        to = maRotation(-b.x, -b.y, -b.z, -b.w);
    }
    float k0, k1;
    if (1.0f - c <= 0.0001f) {
        k0 = 1.0f - t;
        k1 = t;
    } else {
        const float theta = std::acos(c);
        const float s = std::sin(theta);
        k0 = std::sin((1.0f - t) * theta) / s;
        k1 = std::sin(t * theta) / s;
    }
    const maRotation from = a;
    x = k0 * from.x + k1 * to.x;
    y = k0 * from.y + k1 * to.y;
    z = k0 * from.z + k1 * to.z;
    w = k0 * from.w + k1 * to.w;
}
