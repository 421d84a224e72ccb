#pragma once
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"

#include <type_traits>

// A rotation as a unit quaternion (x, y, z vector part, w scalar part). Rotating by a * b applies b
// first, then a. Nothing renormalises: results stay unit as far as their inputs are.
class maRotation {
  public:
    // The identity rotation.
    maRotation() = default;
    maRotation(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    maRotation(const maVector3d& axis, float angle) { SetAxisAngle(axis, angle); }

    // The axis need not be unit; a zero axis gives (0, 0, 0, cos(angle / 2)).
    void SetAxisAngle(const maVector3d& axis, float angle);
    // From the rotation block of a matrix of row vectors (the inverse of GetMatrix).
    void SetFromMatrix3d(const maMatrix3d& m);
    // The rotation turning direction a into direction b (any lengths). Parallel directions of the same
    // sense leave the rotation as it was.
    void SetFromVectors(const maVector3d& a, const maVector3d& b);
    // Rotates about X first, then Y, then Z.
    void SetEuler(float ax, float ay, float az);

    void GetAxisAngle(maVector3d& axis, float& angle) const;
    // The matrix of row vectors that transforms a point as Rotate does.
    maMatrix4d GetMatrix() const;
    void Rotate(maVector3d& v) const;

    maRotation operator*(const maRotation& o) const;
    maRotation& operator*=(const maRotation& o);
    void Conjugate();
    // Spherical interpolation from a (t = 0) to b (t = 1) along the shorter arc.
    void Slerp(const maRotation& a, const maRotation& b, float t);

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

static_assert(sizeof(maRotation) == 4 * sizeof(float) && std::is_trivially_copyable_v<maRotation>);
