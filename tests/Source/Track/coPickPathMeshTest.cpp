#include "Source/Track/coPickPathMesh.h"

#include "Engine/Core/Env/dbgLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A flat ribbon along +z: rows at z = 0, 10, 20, ..., columns at x = 0, 1, 2, ... (y = 0).
struct Ribbon {
    std::vector<maVector3d> centre;
    std::vector<maVector3d> grid;
    Ribbon(int rows, int width) {
        for (int r = 0; r < rows; ++r) {
            centre.emplace_back(0.5f * (width - 1), 0.0f, 10.0f * r);
            for (int c = 0; c < width; ++c)
                grid.emplace_back(static_cast<float>(c), 0.0f, 10.0f * r);
        }
    }
};

} // namespace

TEST(coPickPathMesh, BoundsFollowTheCentrePoints) {
    coPickPathMesh mesh;
    EXPECT_EQ(mesh.GetBounds().minX, maMaxFloat); // empty at construction
    const maVector3d one(1, 2, 3);
    mesh.SetPoints(&one, 1);
    EXPECT_EQ(mesh.GetBounds().minX, maMaxFloat); // fewer than two points: left as it was
    const maVector3d points[3] = {{1, 2, 3}, {-4, 5, 0}, {2, -1, 9}};
    mesh.SetPoints(points, 3);
    EXPECT_EQ(mesh.GetBounds().GetMin().x, -4.0f);
    EXPECT_EQ(mesh.GetBounds().GetMax().y, 5.0f);
    EXPECT_EQ(mesh.GetBounds().GetMin().y, -1.0f);
    EXPECT_EQ(mesh.GetBounds().GetMax().z, 9.0f);
    mesh.SetPoints(&one, 1);
    EXPECT_EQ(mesh.GetBounds().GetMin().x, -4.0f);
    EXPECT_EQ(mesh.GetPointCount(), 1);

    // Picking walks the pick points when there are any.
    EXPECT_EQ(&coPathPoints(mesh), &mesh.GetPoints());
    mesh.SetDetailPoints(points, 3);
    EXPECT_EQ(&coPathPoints(mesh), &mesh.GetDetailPoints());
}

TEST(coPickPathMesh, GridRowsStripsAndNormals) {
    const Ribbon ribbon(3, 4);
    coPickPathMesh mesh;
    mesh.SetPoints(ribbon.centre.data(), 3);
    EXPECT_FALSE(mesh.HasGrid());
    EXPECT_EQ(mesh.GetRow(0), nullptr);
    ASSERT_TRUE(mesh.SetGrid(ribbon.grid.data(), 12, 4));
    EXPECT_TRUE(mesh.HasGrid());
    EXPECT_EQ(mesh.GetTrianglesPerStrip(), 6);
    EXPECT_EQ(mesh.GetRow(1), &mesh.GetRow(0)[4]);
    EXPECT_EQ(mesh.GetRow(3), nullptr);

    maVector3d corners[3], normal;
    mesh.GetStripTriangle(1, 2, corners, normal); // even: P(1,1), P(1,2), P(2,1)
    EXPECT_EQ(corners[0].x, 1.0f);
    EXPECT_EQ(corners[0].z, 10.0f);
    EXPECT_EQ(corners[1].x, 2.0f);
    EXPECT_EQ(corners[2].z, 20.0f);
    EXPECT_EQ(corners[2].x, 1.0f);
    // (P(1,2) - P(1,1)) x (P(2,1) - P(1,1)) = (1,0,0) x (0,0,10): pointing down, unit.
    EXPECT_EQ(normal.x, 0.0f);
    EXPECT_EQ(normal.y, -1.0f);
    EXPECT_EQ(normal.z, 0.0f);
    mesh.GetStripTriangle(1, 3, corners, normal); // odd: P(1,1), P(2,1), P(2,2)
    EXPECT_EQ(corners[1].z, 20.0f);
    EXPECT_EQ(corners[2].x, 2.0f);
    EXPECT_EQ(normal.y, 1.0f); // the odd triangles wind the other way
    for (int r = 0; r < 2; ++r)
        for (int t = 0; t < 6; ++t) {
            mesh.GetStripTriangle(r, t, corners, normal);
            EXPECT_EQ(normal.y, t % 2 == 0 ? -1.0f : 1.0f) << r << " " << t;
            EXPECT_EQ(coTriangleNormal(corners[0], corners[1], corners[2]).y, normal.y);
        }

    // Degenerate triangles keep a zero normal.
    const maVector3d p(1, 1, 1);
    const maVector3d zero = coTriangleNormal(p, p, maVector3d(2, 2, 2));
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
}

TEST(coPickPathMesh, MalformedGridsAreRefusedOrIgnored) {
    std::vector<std::string> log;
    dbgSetLogSink([&log](const std::string& line) { log.push_back(line); });
    const Ribbon ribbon(3, 4);
    coPickPathMesh mesh;
    mesh.SetPoints(ribbon.centre.data(), 3);
    EXPECT_FALSE(mesh.SetGrid(ribbon.grid.data(), 12, 1));
    EXPECT_FALSE(mesh.SetGrid(ribbon.grid.data(), 12, 0));
    EXPECT_FALSE(mesh.SetGrid(ribbon.grid.data(), 11, 4));
    EXPECT_FALSE(mesh.SetGrid(ribbon.grid.data(), -4, 4));
    EXPECT_FALSE(mesh.HasGrid());
    EXPECT_EQ(log.size(), 4u);
    dbgSetLogSink({});

    // A whole number of rows, but not one row per centre point: no grid.
    ASSERT_TRUE(mesh.SetGrid(ribbon.grid.data(), 8, 4));
    EXPECT_FALSE(mesh.HasGrid());
    EXPECT_TRUE(mesh.IsStripClearOfPlane(0, maVector3d(0, 1, 0), 0.0f));
    mesh.SetPoints(ribbon.centre.data(), 2);
    EXPECT_TRUE(mesh.HasGrid());
    mesh.Clear();
    EXPECT_FALSE(mesh.HasGrid());
    EXPECT_EQ(mesh.GetPointCount(), 0);
}

TEST(coPickPathMesh, StripAgainstPlaneBoundaries) {
    const Ribbon ribbon(2, 3);
    std::vector<maVector3d> grid = ribbon.grid;
    grid[3].x = 0.5f;
    coPickPathMesh mesh;
    mesh.SetPoints(ribbon.centre.data(), 2);
    ASSERT_TRUE(mesh.SetGrid(grid.data(), 6, 3));
    const maVector3d nx(1, 0, 0); // n.p = x: the strip's points have x = 0, 1, 2, 0.5, 1, 2
    // First point exactly on the plane, the others below: clear.
    EXPECT_TRUE(mesh.IsStripClearOfPlane(0, maVector3d(-1, 0, 0), 0.0f));
    // First point on the plane, the others above: cut.
    EXPECT_FALSE(mesh.IsStripClearOfPlane(0, nx, 0.0f));
    grid[3].x = 0.0f;
    ASSERT_TRUE(mesh.SetGrid(grid.data(), 6, 3));
    // First point on the plane and another point on it too: cut.
    EXPECT_FALSE(mesh.IsStripClearOfPlane(0, maVector3d(-1, 0, 0), 0.0f));
    // All above, all below.
    EXPECT_TRUE(mesh.IsStripClearOfPlane(0, nx, -0.5f));
    EXPECT_TRUE(mesh.IsStripClearOfPlane(0, nx, 2.5f));
    // First point above, another exactly on the plane: not clear.
    EXPECT_FALSE(mesh.IsStripClearOfPlane(0, maVector3d(-1, 0, 0), -2.0f));
    // A plane through the middle.
    EXPECT_FALSE(mesh.IsStripClearOfPlane(0, nx, 1.5f));
    // Across the rows: z = 0 and 10.
    EXPECT_FALSE(mesh.IsStripClearOfPlane(0, maVector3d(0, 0, 1), 5.0f));
    EXPECT_TRUE(mesh.IsStripClearOfPlane(0, maVector3d(0, 0, 1), 10.5f));
}
