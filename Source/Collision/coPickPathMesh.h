#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

// The collision and picking geometry of one placed piece: its sampled centre line, the box of that line,
// and a grid of cross-section points, one row per centre point, whose neighbouring rows form triangle
// strips. The face normals of the strips are computed on first use.
class coPickPathMesh {
  public:
    // Sets the centre points and rebuilds the bounds from them (left as they were for fewer than 2).
    void SetPoints(const maVector3d* points, int count);
    // The pick points: a denser centre line that picking walks instead when it is not empty.
    void SetDetailPoints(const maVector3d* points, int count);
    // Sets the grid of count points, width to a row. A width below 2 or a count that is not a whole
    // number of rows is refused with a warning and leaves no grid; false then.
    bool SetGrid(const maVector3d* points, int count, int width);
    // Frees every list; the bounds stay.
    void Clear();

    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    const maVector3d& GetPoint(int i) const { return m_points[static_cast<size_t>(i)]; }
    const std::vector<maVector3d>& GetPoints() const { return m_points; }
    const std::vector<maVector3d>& GetDetailPoints() const { return m_detailPoints; }
    const maBoundingBox& GetBounds() const { return m_bounds; }

    // A grid counts only with one row per centre point; any other grid is treated as none.
    bool HasGrid() const;
    int GetWidth() const { return m_width; }
    // The first point of row r; null without a grid or past its rows.
    const maVector3d* GetRow(int r) const;
    int GetTrianglesPerStrip() const { return 2 * m_width - 2; }
    // Triangle t of the strip between rows r and r + 1, with its face normal. The caller keeps r below
    // the last row and t below GetTrianglesPerStrip.
    void GetStripTriangle(int r, int t, maVector3d corners[3], maVector3d& normal) const;
    // True when the plane n.p = d does not cut the strip between rows r and r + 1 (true without a grid).
    bool IsStripClearOfPlane(int r, const maVector3d& n, float d) const;

  private:
    const maVector3d& GridPoint(int row, int column) const {
        return m_grid[static_cast<size_t>(row * m_width + column)];
    }
    void ComputeFaceNormals() const;

    std::vector<maVector3d> m_points;
    std::vector<maVector3d> m_detailPoints;
    maBoundingBox m_bounds;
    std::vector<maVector3d> m_grid;
    int m_width = 0;
    mutable std::vector<maVector3d> m_faceNormals;
};

// The points that picking walks: the pick points when there are any, else the centre points.
const std::vector<maVector3d>& coPathPoints(const coPickPathMesh& mesh);

// The cross product (b - a) x (c - a), made unit unless it is zero.
maVector3d coTriangleNormal(const maVector3d& a, const maVector3d& b, const maVector3d& c);
