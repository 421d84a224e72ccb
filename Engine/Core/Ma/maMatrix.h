#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <type_traits>

// 3x3 and 4x4 float matrices of row vectors (p' = p * M), stored row-major: element r*4 + c of a 4x4
// (r*3 + c of a 3x3) is row r, column c. The translation sits in elements 12, 13, 14, and A * B
// applies A first. Rotations are right-handed: about Z turns +X toward +Y.

class maMatrix3d {
  public:
    maMatrix3d() { SetIdentity(); }
    maMatrix3d(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7, float m8)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8} {}

    void SetIdentity();
    void SetRotationX(float angle);
    void SetRotationY(float angle);
    void SetRotationZ(float angle);
    // Rotation about an axis of any length; a zero axis is used as it is (cos on the diagonal).
    void SetRotation(float angle, float x, float y, float z);
    // Columns 0, 1, 2 times sx, sy, sz (M = M * S).
    void Scale(float sx, float sy, float sz);
    void Transpose();
    float GetDeterminant() const;
    // The adjugate over the determinant; a singular matrix gives non-finite elements.
    void Invert();
    // v = v * M; returns v.
    maVector3d& TransformInPlace(maVector3d& v) const;

    float m[9];
};

class maMatrix4d {
  public:
    maMatrix4d() { SetIdentity(); }
    maMatrix4d(float m0, float m1, float m2, float m3, float m4, float m5, float m6, float m7, float m8,
               float m9, float m10, float m11, float m12, float m13, float m14, float m15)
        : m{m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15} {}

    void SetIdentity();
    void SetRotationX(float angle);
    void SetRotationY(float angle);
    void SetRotationZ(float angle);
    void SetScale(float sx, float sy, float sz);
    // In place M = M * S.
    void Scale(float sx, float sy, float sz);
    void SetTranslation(float tx, float ty, float tz);
    // In place M = M * T.
    void Translate(float tx, float ty, float tz);
    void Transpose();
    // The 3x3 matrix left when the row and the column are removed.
    maMatrix3d GetMinor(int row, int column) const;
    float GetDeterminant() const;
    // In place; the determinant is not tested, so a singular matrix gives non-finite elements.
    void Invert();

    maMatrix4d operator*(const maMatrix4d& o) const;
    maMatrix4d& operator*=(const maMatrix4d& o);

    // p * M with w taken as 1, no division by w.
    maVector3d TransformPoint(const maVector3d& p) const;
    maVector3d& TransformPointInPlace(maVector3d& p) const;
    // The full four-component v * M.
    maVector4d TransformVector4d(const maVector4d& v) const;
    maVector4d& TransformVector4dInPlace(maVector4d& v) const;

    // Rows 0, 1 and 2 are the x, y and z axes of the frame the matrix places (for a track frame side,
    // up and forward); row 3 is its translation.
    maVector3d GetAxis(int axis) const { return maVector3d(&m[axis * 4]); }
    maVector3d GetXAxis() const { return GetAxis(0); }
    maVector3d GetYAxis() const { return GetAxis(1); }
    maVector3d GetZAxis() const { return GetAxis(2); }
    maVector3d GetTranslation() const { return maVector3d(&m[12]); }
    // Keeps the rest of the matrix, where SetTranslation starts from the identity.
    void ReplaceTranslation(const maVector3d& t) {
        m[12] = t.x;
        m[13] = t.y;
        m[14] = t.z;
    }
    // The rotation part: rows and columns 0 to 2.
    maMatrix3d GetRotationPart() const {
        return maMatrix3d(m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]);
    }
    // A whole row, its fourth column included.
    maVector4d GetRow(int row) const {
        return maVector4d(m[row * 4], m[row * 4 + 1], m[row * 4 + 2], m[row * 4 + 3]);
    }

    float m[16];
};

static_assert(sizeof(maMatrix3d) == 9 * sizeof(float) && std::is_trivially_copyable_v<maMatrix3d>);
static_assert(sizeof(maMatrix4d) == 16 * sizeof(float) && std::is_trivially_copyable_v<maMatrix4d>);
static_assert(std::is_standard_layout_v<maMatrix4d>);
