#pragma once
#include <cmath>
#include <type_traits>

// Two-, three- and four-float vectors. They hold exactly their floats, so arrays of them are handed
// on as raw float arrays. Default construction gives zeros rather than garbage.

class maVector2d {
  public:
    maVector2d() = default;
    maVector2d(float x_, float y_) : x(x_), y(y_) {}

    maVector2d operator+(const maVector2d& o) const { return {x + o.x, y + o.y}; }
    maVector2d operator-(const maVector2d& o) const { return {x - o.x, y - o.y}; }

    float x = 0.0f;
    float y = 0.0f;
};

inline maVector2d operator*(const maVector2d& v, float s) {
    return {v.x * s, v.y * s};
}
// No test for a zero divisor: callers test first.
inline maVector2d operator/(const maVector2d& v, float s) {
    return {v.x / s, v.y / s};
}

class maVector3d {
  public:
    maVector3d() = default;
    maVector3d(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    explicit maVector3d(const float* xyz) : x(xyz[0]), y(xyz[1]), z(xyz[2]) {}

    void SetRaw(float x_, float y_, float z_) {
        x = x_;
        y = y_;
        z = z_;
    }
    maVector3d& SetFromArray(const float* xyz) {
        SetRaw(xyz[0], xyz[1], xyz[2]);
        return *this;
    }
    void AddXYZ(float dx, float dy, float dz) {
        x += dx;
        y += dy;
        z += dz;
    }

    maVector3d operator+(const maVector3d& o) const { return {x + o.x, y + o.y, z + o.z}; }
    maVector3d operator-(const maVector3d& o) const { return {x - o.x, y - o.y, z - o.z}; }
    maVector3d Negate() const { return {-x, -y, -z}; }

    // out = this x other; out may be this or other.
    void Cross(const maVector3d& o, maVector3d& out) const {
        out = maVector3d(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
    }
    float Length() const { return std::sqrt(x * x + y * y + z * z); }

    // Component by axis number: 0 = x, 1 = y, 2 = z.
    float operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
    float& operator[](int axis) { return axis == 0 ? x : axis == 1 ? y : z; }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline maVector3d operator*(const maVector3d& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}
// No test for a zero divisor: callers normalise only when the length is above 0.
inline maVector3d operator/(const maVector3d& v, float s) {
    return {v.x / s, v.y / s, v.z / s};
}

// The dot product, summed x, y, z in that order so every user rounds alike.
inline float maDot(const maVector3d& a, const maVector3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

class maVector4d {
  public:
    maVector4d() = default;
    maVector4d(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

inline maVector4d operator*(const maVector4d& v, float s) {
    return {v.x * s, v.y * s, v.z * s, v.w * s};
}

static_assert(sizeof(maVector2d) == 2 * sizeof(float) && std::is_trivially_copyable_v<maVector2d>);
static_assert(sizeof(maVector3d) == 3 * sizeof(float) && std::is_trivially_copyable_v<maVector3d>);
static_assert(sizeof(maVector4d) == 4 * sizeof(float) && std::is_trivially_copyable_v<maVector4d>);
static_assert(std::is_standard_layout_v<maVector3d> && std::is_standard_layout_v<maVector4d>);
