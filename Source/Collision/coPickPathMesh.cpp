#include "Source/Collision/coPickPathMesh.h"

#include "Engine/Core/Env/dbgLog.h"

void coPickPathMesh::SetPoints(const maVector3d* points, int count) {
    m_points.assign(points, points + (count > 0 ? count : 0));
    if (m_points.size() < 2)
        return;
    m_bounds.Set(m_points[0], m_points[1]);
    for (const maVector3d& p : m_points)
        m_bounds.AddPoint(p);
}

void coPickPathMesh::SetDetailPoints(const maVector3d* points, int count) {
    m_detailPoints.assign(points, points + (count > 0 ? count : 0));
}

bool coPickPathMesh::SetGrid(const maVector3d* points, int count, int width) {
    m_faceNormals.clear();
    if (width < 2 || count < 0 || count % width != 0) {
        DBG_WARNING("pick-path grid of %d points at width %d refused", count, width);
        m_grid.clear();
        m_width = 0;
        return false;
    }
    m_grid.assign(points, points + count);
    m_width = width;
    return true;
}

void coPickPathMesh::Clear() {
    m_points.clear();
    m_detailPoints.clear();
    m_grid.clear();
    m_faceNormals.clear();
    m_width = 0;
}

bool coPickPathMesh::HasGrid() const {
    return !m_grid.empty() && m_grid.size() == m_points.size() * static_cast<size_t>(m_width);
}

const maVector3d* coPickPathMesh::GetRow(int r) const {
    if (!HasGrid() || r < 0 || r >= GetPointCount())
        return nullptr;
    return &GridPoint(r, 0);
}

void coPickPathMesh::GetStripTriangle(int r, int t, maVector3d corners[3], maVector3d& normal) const {
    const int c = t / 2;
    if (t % 2 == 0) {
        corners[0] = GridPoint(r, c);
        corners[1] = GridPoint(r, c + 1);
        corners[2] = GridPoint(r + 1, c);
    } else {
        corners[0] = GridPoint(r, c);
        corners[1] = GridPoint(r + 1, c);
        corners[2] = GridPoint(r + 1, c + 1);
    }
    if (m_faceNormals.empty())
        ComputeFaceNormals();
    normal = m_faceNormals[static_cast<size_t>(GetTrianglesPerStrip() * r + t)];
}

bool coPickPathMesh::IsStripClearOfPlane(int r, const maVector3d& n, float d) const {
    if (!HasGrid())
        return true;
    const maVector3d* first = GetRow(r);
    const int count = 2 * m_width;
    const bool firstAbove = maDot(first[0], n) > d;
    for (int i = 1; i < count; ++i) {
        const float side = maDot(first[i], n);
        if (firstAbove ? !(side > d) : !(side < d))
            return false;
    }
    return true;
}

void coPickPathMesh::ComputeFaceNormals() const {
    const int rows = static_cast<int>(m_grid.size()) / m_width - 1;
    m_faceNormals.resize(static_cast<size_t>((m_width - 1) * rows * 2));
    size_t out = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 1; c < m_width; ++c) {
            const maVector3d& corner = GridPoint(r, c - 1);
            m_faceNormals[out++] = coTriangleNormal(corner, GridPoint(r, c), GridPoint(r + 1, c - 1));
            m_faceNormals[out++] = coTriangleNormal(corner, GridPoint(r + 1, c - 1), GridPoint(r + 1, c));
        }
    }
}

const std::vector<maVector3d>& coPathPoints(const coPickPathMesh& mesh) {
    return mesh.GetDetailPoints().empty() ? mesh.GetPoints() : mesh.GetDetailPoints();
}

maVector3d coTriangleNormal(const maVector3d& a, const maVector3d& b, const maVector3d& c) {
    maVector3d n;
    (b - a).Cross(c - a, n);
    const float length = n.Length();
    return length != 0.0f ? n / length : n;
}
