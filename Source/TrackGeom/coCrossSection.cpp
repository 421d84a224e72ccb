#include "Source/TrackGeom/coCrossSection.h"

#include <cmath>

namespace {

// Ends closer than this (squared) make a closed outline.
constexpr float kClosedOutline = 1e-6f;

float LengthSquared(const maVector2d& v) {
    return v.x * v.x + v.y * v.y;
}

// The unit tangent turned by -90 degrees; (1, 0) for a zero tangent.
maVector2d EndNormal(const maVector2d& tangent) {
    const float length = std::sqrt(LengthSquared(tangent));
    if (!(length > 0.0f))
        return {1.0f, 0.0f};
    const maVector2d unit = tangent / length;
    return {unit.y, -unit.x};
}

} // namespace

void coCrossSection::SetVertices(const maVector2d* points, int count) {
    m_vertices.assign(points, points + (count > 0 ? count : 0));
    m_normals.clear();
}

void computeVertexNormals(const coCrossSection& section, std::vector<maVector2d>& out) {
    const std::vector<maVector2d>& v = section.m_vertices;
    const size_t n = v.size();
    if (n == 1) {
        out.assign(1, maVector2d(0.0f, 1.0f));
        return;
    }
    std::vector<maVector2d>& normals = section.m_normals;
    if (normals.empty() && n >= 2) {
        normals.resize(n);
        for (size_t i = 1; i + 1 < n; ++i) {
            const maVector2d d = ((v[i] - v[i - 1]) + (v[i + 1] - v[i])) * 0.5f;
            const float squared = LengthSquared(d);
            if (squared > 0.0f) {
                const maVector2d unit = d / std::sqrt(squared);
                normals[i] = maVector2d(unit.y, -unit.x);
            } else {
                normals[i] = maVector2d(1.0f, -d.x);
            }
        }
        maVector2d first = v[1] - v[0];
        maVector2d last = v[n - 1] - v[n - 2];
        if (LengthSquared(v[0] - v[n - 1]) < kClosedOutline)
            first = last = (first + last) * 0.5f;
        normals[0] = EndNormal(first);
        normals[n - 1] = EndNormal(last);
    }
    out = normals;
}
