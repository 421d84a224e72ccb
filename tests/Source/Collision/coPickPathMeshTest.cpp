#include "Source/Collision/coPickPathMesh.h"

#include "Engine/Core/Env/dbgLog.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

TEST(coPickPathMesh, StripTrianglesAndTheirNormals) {
    const Ribbon ribbon(3, 4);
    coPickPathMesh mesh;
    mesh.SetPoints(ribbon.centre.data(), 3);
    EXPECT_EQ(mesh.GetRow(0), nullptr);
    ASSERT_TRUE(mesh.SetGrid(ribbon.grid.data(), 12, 4));
    EXPECT_EQ(std::tuple(mesh.GetTrianglesPerStrip(), mesh.GetRow(1)), std::tuple(6, &mesh.GetRow(0)[4]));
    EXPECT_EQ(mesh.GetRow(3), nullptr);

    maVector3d corners[3], normal;
    mesh.GetStripTriangle(1, 2, corners, normal); // even: P(1,1), P(1,2), P(2,1)
    const maVector3d even[3] = {{1, 0, 10}, {2, 0, 10}, {1, 0, 20}};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(corners[i].x == even[i].x && corners[i].z == even[i].z) << i;
    mesh.GetStripTriangle(1, 3, corners, normal); // odd: P(1,1), P(2,1), P(2,2)
    const maVector3d odd[3] = {{1, 0, 10}, {1, 0, 20}, {2, 0, 20}};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(corners[i].x == odd[i].x && corners[i].z == odd[i].z) << i;
    // (P(1,2) - P(1,1)) x (P(2,1) - P(1,1)) = (1,0,0) x (0,0,10): pointing down, unit; the odd triangles
    // wind the other way.
    for (int r = 0; r < 2; ++r)
        for (int t = 0; t < 6; ++t) {
            mesh.GetStripTriangle(r, t, corners, normal);
            EXPECT_EQ(normal.y, t % 2 == 0 ? -1.0f : 1.0f) << r << " " << t;
            EXPECT_EQ(normal.x, 0.0f);
        }
    // Degenerate triangles keep a zero normal.
    const maVector3d p(1, 1, 1);
    const maVector3d zero = coTriangleNormal(p, p, maVector3d(2, 2, 2));
    EXPECT_TRUE(zero.x == 0.0f && zero.y == 0.0f && zero.z == 0.0f);
}

TEST(coPickPathMesh, MalformedGridsAreRefusedOrIgnored) {
    std::vector<std::string> log;
    dbgSetLogSink([&log](const std::string& line) { log.push_back(line); });
    const Ribbon ribbon(3, 4);
    coPickPathMesh mesh;
    mesh.SetPoints(ribbon.centre.data(), 3);
    for (const auto& [count, width] : {std::pair{12, 1}, {12, 0}, {11, 4}, {-4, 4}})
        EXPECT_FALSE(mesh.SetGrid(ribbon.grid.data(), count, width)) << count << " " << width;
    EXPECT_EQ(std::tuple(mesh.HasGrid(), log.size()), std::tuple(false, 4u));
    dbgSetLogSink({});

    // A whole number of rows, but not one row per centre point: no grid.
    ASSERT_TRUE(mesh.SetGrid(ribbon.grid.data(), 8, 4));
    EXPECT_FALSE(mesh.HasGrid());
    EXPECT_TRUE(mesh.IsStripClearOfPlane(0, maVector3d(0, 1, 0), 0.0f));
    mesh.SetPoints(ribbon.centre.data(), 2);
    EXPECT_TRUE(mesh.HasGrid());
    mesh.Clear();
    EXPECT_FALSE(mesh.HasGrid());
}

TEST(coPickPathMesh, StripAgainstPlaneBoundaries) {
    const Ribbon ribbon(2, 3);
    std::vector<maVector3d> grid = ribbon.grid;
    coPickPathMesh mesh;
    mesh.SetPoints(ribbon.centre.data(), 2);
    const maVector3d nx(1, 0, 0), minusX(-1, 0, 0), nz(0, 0, 1);
    // The strip's points have x = 0, 1, 2 (row 0) and x3, 1, 2 (row 1), z = 0 and 10.
    const struct {
        float x3;
        maVector3d normal;
        float d;
        bool clear;
        const char* what;
    } cases[] = {
        {0.5f, minusX, 0.0f, true, "first point on the plane, the others below"},
        {0.5f, nx, 0.0f, false, "first point on the plane, the others above"},
        {0.0f, minusX, 0.0f, false, "first point and another on the plane"},
        {0.0f, nx, -0.5f, true, "all above"},
        {0.0f, nx, 2.5f, true, "all below"},
        {0.0f, minusX, -2.0f, false, "first above, another on the plane"},
        {0.0f, nx, 1.5f, false, "through the middle"},
        {0.0f, nz, 5.0f, false, "between the rows"},
        {0.0f, nz, 10.5f, true, "past the rows"},
    };
    for (const auto& c : cases) {
        grid[3].x = c.x3;
        ASSERT_TRUE(mesh.SetGrid(grid.data(), 6, 3));
        EXPECT_EQ(mesh.IsStripClearOfPlane(0, c.normal, c.d), c.clear) << c.what;
    }
}
