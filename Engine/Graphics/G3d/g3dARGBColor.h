#pragma once
#include <type_traits>

// A colour of four floats, stored red, green, blue, alpha, each nominally 0.0 to 1.0. Default
// construction gives transparent black. Blends work component by component.
class g3dARGBColor {
  public:
    g3dARGBColor() = default;
    g3dARGBColor(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}

    g3dARGBColor operator+(const g3dARGBColor& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
    g3dARGBColor operator-(const g3dARGBColor& o) const { return {r - o.r, g - o.g, b - o.b, a - o.a}; }
    g3dARGBColor operator*(float s) const { return {r * s, g * s, b * s, a * s}; }

    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

static_assert(sizeof(g3dARGBColor) == 4 * sizeof(float) && std::is_trivially_copyable_v<g3dARGBColor>);
