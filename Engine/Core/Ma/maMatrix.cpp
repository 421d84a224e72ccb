#include "Engine/Core/Ma/maMatrix.h"

#include <cmath>
#include <utility>

void maMatrix3d::SetIdentity() {
    *this = maMatrix3d(1, 0, 0, 0, 1, 0, 0, 0, 1);
}

void maMatrix3d::SetRotationX(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    *this = maMatrix3d(1, 0, 0, 0, c, s, 0, -s, c);
}

void maMatrix3d::SetRotationY(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    *this = maMatrix3d(c, 0, -s, 0, 1, 0, s, 0, c);
}

void maMatrix3d::SetRotationZ(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    *this = maMatrix3d(c, s, 0, -s, c, 0, 0, 0, 1);
}

void maMatrix3d::SetRotation(float angle, float x, float y, float z) {
    // The principal axes take the exact single-axis forms.
    if (x == 1.0f && y == 0.0f && z == 0.0f)
        return SetRotationX(angle);
    if (x == 0.0f && y == 1.0f && z == 0.0f)
        return SetRotationY(angle);
    if (x == 0.0f && y == 0.0f && z == 1.0f)
        return SetRotationZ(angle);
    const float len = maVector3d(x, y, z).Length();
    if (len > 0.0f) {
        x /= len;
        y /= len;
        z /= len;
    }
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    *this = maMatrix3d(x * x * t + c, x * y * t + z * s, x * z * t - y * s, //
                       x * y * t - z * s, y * y * t + c, y * z * t + x * s, //
                       x * z * t + y * s, y * z * t - x * s, z * z * t + c);
}

void maMatrix3d::Scale(float sx, float sy, float sz) {
    for (int r = 0; r < 3; ++r) {
        m[r * 3 + 0] *= sx;
        m[r * 3 + 1] *= sy;
        m[r * 3 + 2] *= sz;
    }
}

void maMatrix3d::Transpose() {
    std::swap(m[1], m[3]);
    std::swap(m[2], m[6]);
    std::swap(m[5], m[7]);
}

float maMatrix3d::GetDeterminant() const {
    return m[0] * (m[4] * m[8] - m[5] * m[7]) + m[1] * (m[5] * m[6] - m[3] * m[8]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

void maMatrix3d::Invert() {
    const float d = GetDeterminant();
    // Cofactors over the determinant, already transposed (the adjugate).
    *this = maMatrix3d((m[4] * m[8] - m[5] * m[7]) / d, (m[2] * m[7] - m[1] * m[8]) / d,
                       (m[1] * m[5] - m[2] * m[4]) / d, //
                       (m[5] * m[6] - m[3] * m[8]) / d, (m[0] * m[8] - m[2] * m[6]) / d,
                       (m[2] * m[3] - m[0] * m[5]) / d, //
                       (m[3] * m[7] - m[4] * m[6]) / d, (m[1] * m[6] - m[0] * m[7]) / d,
                       (m[0] * m[4] - m[1] * m[3]) / d);
}

maVector3d& maMatrix3d::TransformInPlace(maVector3d& v) const {
    v = maVector3d(v.x * m[0] + v.y * m[3] + v.z * m[6], v.x * m[1] + v.y * m[4] + v.z * m[7],
                   v.x * m[2] + v.y * m[5] + v.z * m[8]);
    return v;
}

void maMatrix4d::SetIdentity() {
    *this = maMatrix4d(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

void maMatrix4d::SetRotationX(float angle) {
    SetIdentity();
    const float c = std::cos(angle), s = std::sin(angle);
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
}

void maMatrix4d::SetRotationY(float angle) {
    SetIdentity();
    const float c = std::cos(angle), s = std::sin(angle);
    m[0] = c;
    m[2] = -s;
    m[8] = s;
    m[10] = c;
}

void maMatrix4d::SetRotationZ(float angle) {
    SetIdentity();
    const float c = std::cos(angle), s = std::sin(angle);
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
}

void maMatrix4d::SetScale(float sx, float sy, float sz) {
    *this = maMatrix4d(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1);
}

void maMatrix4d::Scale(float sx, float sy, float sz) {
    for (int r = 0; r < 4; ++r) {
        m[r * 4 + 0] *= sx;
        m[r * 4 + 1] *= sy;
        m[r * 4 + 2] *= sz;
    }
}

void maMatrix4d::SetTranslation(float tx, float ty, float tz) {
    SetIdentity();
    m[12] = tx;
    m[13] = ty;
    m[14] = tz;
}

void maMatrix4d::Translate(float tx, float ty, float tz) {
    for (int r = 0; r < 4; ++r) {
        const float w = m[r * 4 + 3];
        m[r * 4 + 0] += tx * w;
        m[r * 4 + 1] += ty * w;
        m[r * 4 + 2] += tz * w;
    }
}

void maMatrix4d::Transpose() {
    for (int r = 0; r < 4; ++r)
        for (int c = r + 1; c < 4; ++c)
            std::swap(m[r * 4 + c], m[c * 4 + r]);
}

maMatrix3d maMatrix4d::GetMinor(int row, int column) const {
    maMatrix3d minor;
    int k = 0;
    for (int r = 0; r < 4; ++r) {
        if (r == row)
            continue;
        for (int c = 0; c < 4; ++c)
            if (c != column)
                minor.m[k++] = m[r * 4 + c];
    }
    return minor;
}

float maMatrix4d::GetDeterminant() const {
    return m[0] * GetMinor(0, 0).GetDeterminant() - m[4] * GetMinor(1, 0).GetDeterminant() +
           m[8] * GetMinor(2, 0).GetDeterminant() - m[12] * GetMinor(3, 0).GetDeterminant();
}

void maMatrix4d::Invert() {
    const float k = 1.0f / GetDeterminant();
    maMatrix4d n;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const float sign = (r + c) % 2 == 0 ? 1.0f : -1.0f;
            // Stored transposed: the adjugate is the transposed cofactor matrix.
            n.m[c * 4 + r] = GetMinor(r, c).GetDeterminant() * k * sign;
        }
    *this = n;
}

maMatrix4d maMatrix4d::operator*(const maMatrix4d& o) const {
    maMatrix4d p;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            p.m[r * 4 + c] = m[r * 4 + 0] * o.m[0 + c] + m[r * 4 + 1] * o.m[4 + c] +
                             m[r * 4 + 2] * o.m[8 + c] + m[r * 4 + 3] * o.m[12 + c];
    return p;
}

maMatrix4d& maMatrix4d::operator*=(const maMatrix4d& o) {
    *this = *this * o;
    return *this;
}

maVector3d maMatrix4d::TransformPoint(const maVector3d& p) const {
    return maVector3d(p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
                      p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                      p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]);
}

maVector3d& maMatrix4d::TransformPointInPlace(maVector3d& p) const {
    p = TransformPoint(p);
    return p;
}

maVector4d maMatrix4d::TransformVector4d(const maVector4d& v) const {
    return maVector4d(v.x * m[0] + v.y * m[4] + v.z * m[8] + v.w * m[12],
                      v.x * m[1] + v.y * m[5] + v.z * m[9] + v.w * m[13],
                      v.x * m[2] + v.y * m[6] + v.z * m[10] + v.w * m[14],
                      v.x * m[3] + v.y * m[7] + v.z * m[11] + v.w * m[15]);
}

maVector4d& maMatrix4d::TransformVector4dInPlace(maVector4d& v) const {
    v = TransformVector4d(v);
    return v;
}
