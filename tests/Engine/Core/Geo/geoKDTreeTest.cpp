#include "Engine/Core/Geo/geoKDTree.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Core/Ma/maTestNear.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// A triangle soup as the model readers hand it over.
struct Soup {
    std::vector<maVector3d> vertices;
    std::vector<u16> indices;

    void Add(const maVector3d& a, const maVector3d& b, const maVector3d& c) {
        for (const maVector3d& p : {a, b, c}) {
            indices.push_back(static_cast<u16>(vertices.size()));
            vertices.push_back(p);
        }
    }
    // A square of two triangles at height y facing up (normal +y), corners (x0, z0) .. (x1, z1).
    void AddFloor(float x0, float z0, float x1, float z1, float y) {
        Add({x0, y, z0}, {x0, y, z1}, {x1, y, z0});
        Add({x1, y, z0}, {x0, y, z1}, {x1, y, z1});
    }
    void AddTo(geoKDTree& tree) const {
        tree.AddTriangles(vertices.data(), static_cast<u32>(vertices.size()), indices.data(),
                          static_cast<u32>(indices.size()));
    }
};

// Independent reference: every triangle tested against the whole segment.
struct BruteTriangle {
    maVector3d v[3];
    maVector3d n;
};

float Quantised(float c) {
    return static_cast<float>(std::floor(c * 10000.0) / 10000.0);
}

std::vector<BruteTriangle> BruteTriangles(const Soup& soup) {
    std::vector<BruteTriangle> out;
    for (size_t i = 0; i + 2 < soup.indices.size(); i += 3) {
        BruteTriangle t;
        for (int c = 0; c < 3; ++c) {
            const maVector3d& p = soup.vertices[soup.indices[i + c]];
            t.v[c] = maVector3d(Quantised(p.x), Quantised(p.y), Quantised(p.z));
        }
        (t.v[1] - t.v[0]).Cross(t.v[2] - t.v[0], t.n);
        t.n = t.n / t.n.Length();
        out.push_back(t);
    }
    return out;
}

bool BruteHit(const std::vector<BruteTriangle>& tris, const maVector3d& a, const maVector3d& b,
              maVector3d& point) {
    const maVector3d d = b - a;
    float best = 2.0f;
    for (const BruteTriangle& t : tris) {
        if (maDot(a - t.v[0], t.n) < 0 || maDot(b - t.v[0], t.n) > 0)
            continue;
        const float nd = maDot(t.n, d);
        if (nd == 0)
            continue;
        const float s = maDot(t.n, t.v[0] - a) / nd;
        float u, v;
        if (s >= 0 && s < 1 && s < best && geoPointInTriangle(t.v[0], t.v[1], t.v[2], a + d * s, t.n, u, v)) {
            best = s;
            point = a + d * s;
        }
    }
    return best <= 1.0f;
}

// Separating-axis test of a triangle against a box, both closed.
bool ExactOverlap(const BruteTriangle& t, const maVector3d& lo, const maVector3d& hi) {
    const maVector3d c = (lo + hi) * 0.5f, h = (hi - lo) * 0.5f;
    const maVector3d v[3] = {t.v[0] - c, t.v[1] - c, t.v[2] - c};
    const maVector3d e[3] = {v[1] - v[0], v[2] - v[1], v[0] - v[2]};
    std::vector<maVector3d> axes = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, t.n};
    for (const maVector3d& edge : e)
        for (const maVector3d& box : {maVector3d(1, 0, 0), maVector3d(0, 1, 0), maVector3d(0, 0, 1)}) {
            maVector3d axis;
            edge.Cross(box, axis);
            axes.push_back(axis);
        }
    for (const maVector3d& a : axes) {
        const float p0 = maDot(v[0], a), p1 = maDot(v[1], a), p2 = maDot(v[2], a);
        const float r = h.x * std::abs(a.x) + h.y * std::abs(a.y) + h.z * std::abs(a.z);
        if (std::min({p0, p1, p2}) > r || std::max({p0, p1, p2}) < -r)
            return false;
    }
    return true;
}

bool SameTriangle(const maVector3d* listed, const BruteTriangle& t) {
    for (int c = 0; c < 3; ++c)
        if (listed[c].x != t.v[c].x || listed[c].y != t.v[c].y || listed[c].z != t.v[c].z)
            return false;
    return true;
}

bool Hit(const geoKDTree& tree, const maVector3d& a, const maVector3d& b, geoKDTreeHit& hit) {
    hit.found = 0;
    return tree.IntersectSegment(a, b, hit);
}

} // namespace

TEST(geoKDTree, EmptyAndUnbuiltTreesAnswerNothing) {
    geoKDTree tree;
    geoKDTreeHit hit;
    std::vector<maVector3d> points(3);
    EXPECT_FALSE(Hit(tree, {0, 10, 0}, {0, -10, 0}, hit));
    tree.GetTrianglesInBox({-10, -10, -10}, {10, 10, 10}, points);
    EXPECT_TRUE(points.empty());
    tree.Build();
    EXPECT_EQ(tree.GetNodeCount(), 0u);
    EXPECT_EQ(tree.GetBounds().minX, 3.4028235e38f);

    Soup soup;
    soup.AddFloor(-1, -1, 1, 1, 0);
    soup.AddTo(tree);
    EXPECT_FALSE(Hit(tree, {0, 10, 0}, {0, -10, 0}, hit)); // added, not built
    tree.Build();
    EXPECT_TRUE(Hit(tree, {0, 10, 0}, {0, -10, 0}, hit));
    tree.Clear();
    EXPECT_EQ(tree.GetTriangleCount(), 0u);
    EXPECT_FALSE(Hit(tree, {0, 10, 0}, {0, -10, 0}, hit));
    tree.GetTrianglesInBox({-10, -10, -10}, {10, 10, 10}, points);
    EXPECT_TRUE(points.empty());
}

TEST(geoKDTree, FewTrianglesMakeOneLeafWithQuantisedCornersAndWidenedBounds) {
    geoKDTree tree;
    Soup soup;
    soup.Add({0.123456f, 0, 0}, {0, 0, 500}, {500, 0, 0});
    soup.Add({-0.00001f, 3, 1000}, {0, 3, 1001}, {1, 3, 1000});
    soup.Add({5, 5, 5}, {5, 5, 5}, {5, 5, 5}); // degenerate: normal (0, 1, 0)
    soup.AddTo(tree);
    tree.Build();
    EXPECT_EQ(tree.GetTriangleCount(), 3u);
    EXPECT_EQ(tree.GetNodeCount(), 1u);
    EXPECT_EQ(tree.GetDepth(), 1u);
    const maBoundingBox& b = tree.GetBounds();
    EXPECT_FLOAT_EQ(b.minX, -1.0001f);
    EXPECT_FLOAT_EQ(b.maxX, 501.0f);
    EXPECT_FLOAT_EQ(b.minY, -1.0f);
    EXPECT_FLOAT_EQ(b.maxY, 6.0f);
    EXPECT_FLOAT_EQ(b.maxZ, 1002.0f);

    std::vector<maVector3d> points;
    tree.GetTrianglesInBox({-1, -1, -1}, {1, 1, 1}, points);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_FLOAT_EQ(points[0].x, 0.1234f);
    EXPECT_FLOAT_EQ(points[3].y, 1.0f); // (V1 - V0) x (V2 - V0) points up
    tree.GetTrianglesInBox({4, 4, 4}, {6, 6, 6}, points);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[3].y, 1.0f);
    EXPECT_EQ(points[3].x, 0.0f);
}

TEST(geoKDTree, SegmentsHitOnlyFromTheFrontWithinTheirLength) {
    geoKDTree tree;
    Soup soup;
    soup.AddFloor(-10, -10, 10, 10, 0);
    soup.AddTo(tree);
    tree.Build();
    geoKDTreeHit hit;
    EXPECT_TRUE(Hit(tree, {1, 5, 2}, {1, -5, 2}, hit));
    EXPECT_EQ(hit.found, 1);
    EXPECT_FLOAT_EQ(hit.t, 0.5f);
    EXPECT_FLOAT_EQ(hit.point.y, 0.0f);
    EXPECT_FLOAT_EQ(hit.point.x, 1.0f);
    // From behind.
    EXPECT_FALSE(Hit(tree, {1, -5, 2}, {1, 5, 2}, hit));
    EXPECT_EQ(hit.found, 0);
    // Ending on the surface (t = 1) misses; starting on it (t = 0) hits.
    EXPECT_FALSE(Hit(tree, {1, 5, 2}, {1, 0, 2}, hit));
    EXPECT_TRUE(Hit(tree, {1, 0, 2}, {1, -5, 2}, hit));
    EXPECT_EQ(hit.t, 0.0f);
    // Slanted, and beside the floor.
    EXPECT_TRUE(Hit(tree, {-4, 2, 0}, {4, -2, 0}, hit));
    EXPECT_NEAR(hit.point.x, 0.0f, 1e-6f);
    EXPECT_FALSE(Hit(tree, {11, 5, 0}, {11, -5, 0}, hit));
    // Not finite: no hit.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(Hit(tree, {nan, 5, 0}, {0, -5, 0}, hit));
    EXPECT_FALSE(Hit(tree, {0, 5, 0}, {0, -std::numeric_limits<float>::infinity(), 0}, hit));
}

TEST(geoKDTree, NearestHitInALeafAndAcrossLeaves) {
    geoKDTree tree;
    Soup soup;
    soup.AddFloor(-10, -10, 10, 10, 0);
    soup.AddFloor(-10, -10, 10, 10, 2);
    soup.AddTo(tree);
    tree.Build();
    ASSERT_EQ(tree.GetNodeCount(), 1u);
    geoKDTreeHit hit;
    EXPECT_TRUE(Hit(tree, {0, 5, 0}, {0, -5, 0}, hit));
    EXPECT_FLOAT_EQ(hit.point.y, 2.0f);
    EXPECT_EQ(hit.triangle / 2, 1u);
    // Without find nearest the first triangle in the list that is hit answers.
    hit.findNearest = 0;
    EXPECT_TRUE(Hit(tree, {0, 5, 0}, {0, -5, 0}, hit));
    EXPECT_FLOAT_EQ(hit.point.y, 0.0f);

    // A tall tree split on y: the floors at 0 and 300 lie in different leaves.
    geoKDTree tall;
    Soup layers;
    for (float y : {0.0f, 300.0f})
        for (float x : {-20.0f, 0.0f})
            layers.AddFloor(x, -20, x + 20, 20, y);
    layers.AddTo(tall);
    tall.Build();
    EXPECT_GT(tall.GetNodeCount(), 1u);
    hit = geoKDTreeHit();
    EXPECT_TRUE(Hit(tall, {5, 400, 5}, {5, -100, 5}, hit));
    EXPECT_FLOAT_EQ(hit.point.y, 300.0f);
    EXPECT_TRUE(Hit(tall, {5, 299, 5}, {5, -100, 5}, hit));
    EXPECT_FLOAT_EQ(hit.point.y, 0.0f);
}

TEST(geoKDTree, TriangleLyingInASplitPlaneIsFound) {
    // Narrow in x and z, tall in y: the root splits y at -1 + 202 / 2 = 100.
    geoKDTree tree;
    Soup soup;
    soup.AddFloor(0, 0, 50, 50, 0);
    soup.AddFloor(0, 0, 50, 50, 200);
    soup.AddFloor(10, 10, 40, 40, 100);
    soup.AddTo(tree);
    tree.Build();
    ASSERT_GT(tree.GetNodeCount(), 1u);
    geoKDTreeHit hit;
    EXPECT_TRUE(Hit(tree, {20, 150, 20}, {20, 50, 20}, hit));
    EXPECT_FLOAT_EQ(hit.point.y, 100.0f);
    EXPECT_TRUE(Hit(tree, {20, 100, 20}, {20, 50, 20}, hit));
    EXPECT_FLOAT_EQ(hit.point.y, 100.0f);
    EXPECT_FALSE(Hit(tree, {20, 150, 20}, {20, 100, 20}, hit));
    // A segment lying in the split plane.
    EXPECT_FALSE(Hit(tree, {0, 100, 0}, {50, 100, 50}, hit));

    std::vector<maVector3d> points;
    tree.GetTrianglesInBox({15, 99, 15}, {16, 100, 16}, points);
    EXPECT_FALSE(points.empty());
    tree.GetTrianglesInBox({15, 100, 15}, {16, 101, 16}, points);
    EXPECT_FALSE(points.empty());
}

TEST(geoKDTree, BadIndicesAndNonFiniteCornersAreSkippedWithAWarning) {
    dbgLogCapture log;
    geoKDTree tree;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const maVector3d vertices[] = {{0, 0, 0},   {0, 0, 10},  {10, 0, 0},
                                   {nan, 0, 0}, {inf, 0, 0}, {3.4e38f, 1, 1}};
    const u16 indices[] = {0, 1, 2, 0, 1, 6, 65535, 0, 1, 3, 1, 2, 0, 4, 2, 5, 1, 2, 0, 1};
    tree.AddTriangles(vertices, 6, indices, 20);
    EXPECT_EQ(tree.GetTriangleCount(), 1u);
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_NE(log.lines[0].find("**Warning** geoKDTree: 2 triangles skipped, an index past the 6 vertices"),
              std::string::npos);
    EXPECT_NE(log.lines[1].find("3 triangles skipped"), std::string::npos);
    tree.AddTriangles(nullptr, 0, indices, 3);
    EXPECT_EQ(tree.GetTriangleCount(), 1u);
    tree.Build();
    geoKDTreeHit hit;
    EXPECT_TRUE(Hit(tree, {1, 1, 1}, {1, -1, 1}, hit) || Hit(tree, {1, -1, 1}, {1, 1, 1}, hit));
    std::vector<maVector3d> points;
    tree.GetTrianglesInBox({nan, nan, nan}, {nan, nan, nan}, points);
    EXPECT_TRUE(points.empty());
    tree.GetTrianglesInBox({-1e30f, -1e30f, -1e30f}, {1e30f, 1e30f, 1e30f}, points);
    EXPECT_EQ(points.size(), 4u);
}

TEST(geoKDTree, BuildEndsWhereRoundingCannotSplitABox) {
    // A cluster near 1e18 beside one triangle at the origin: the halving stalls at the float spacing there
    // (about 1e11), far above the cell size.
    geoKDTree tree;
    Soup soup;
    soup.Add({0, 0, 0}, {0, 0, 1}, {1, 0, 0});
    for (int i = 0; i < 6; ++i)
        soup.Add({1e18f, 1e18f, 1e18f}, {1e18f, 1e18f, 1.000001e18f}, {1.000001e18f, 1e18f, 1e18f});
    soup.AddTo(tree);
    tree.Build();
    EXPECT_LE(tree.GetDepth(), 64u);
    geoKDTreeHit hit;
    EXPECT_TRUE(Hit(tree, {0.2f, 1, 0.2f}, {0.2f, -1, 0.2f}, hit) ||
                Hit(tree, {0.2f, -1, 0.2f}, {0.2f, 1, 0.2f}, hit));
    std::vector<maVector3d> points;
    tree.GetTrianglesInBox({9e17f, 9e17f, 9e17f}, {2e18f, 2e18f, 2e18f}, points);
    EXPECT_GE(points.size(), 24u);
}

TEST(geoKDTree, AgreesWithBruteForceOnRandomSegmentsAndBoxes) {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> coord(0.0f, 1000.0f), unit(-1.0f, 1.0f);
    int hits = 0, listed = 0;
    for (int set = 0; set < 5; ++set) {
        Soup soup;
        for (int i = 0; i < 400; ++i) {
            const maVector3d c(coord(rng), coord(rng) * 0.3f, coord(rng));
            const float size = i % 10 == 0 ? 300.0f : 40.0f;
            soup.Add(c + maVector3d(unit(rng), unit(rng), unit(rng)) * size,
                     c + maVector3d(unit(rng), unit(rng), unit(rng)) * size,
                     c + maVector3d(unit(rng), unit(rng), unit(rng)) * size);
        }
        geoKDTree tree;
        soup.AddTo(tree);
        tree.Build();
        ASSERT_GT(tree.GetDepth(), 4u);
        const std::vector<BruteTriangle> brute = BruteTriangles(soup);

        for (int q = 0; q < 200; ++q) {
            const maVector3d a(coord(rng), coord(rng) * 0.4f, coord(rng));
            const maVector3d b = q % 3 == 0 ? maVector3d(a.x, -20.0f, a.z)
                                            : maVector3d(coord(rng), coord(rng) * 0.4f, coord(rng));
            geoKDTreeHit hit;
            const bool tree_hit = Hit(tree, a, b, hit);
            maVector3d expected;
            const bool brute_hit = BruteHit(brute, a, b, expected);
            ASSERT_EQ(tree_hit, brute_hit) << "set " << set << " segment " << q;
            if (tree_hit) {
                ++hits;
                ExpectNear(hit.point, expected, 1e-3f);
            }

            const maVector3d lo(coord(rng), coord(rng) * 0.3f, coord(rng));
            const maVector3d hi = lo + maVector3d(coord(rng), coord(rng), coord(rng)) * 0.15f;
            std::vector<maVector3d> points;
            tree.GetTrianglesInBox(lo, hi, points);
            ASSERT_EQ(points.size() % 4, 0u);
            // Every exact overlap is listed (judged on a slightly smaller box, clear of rounding).
            const maVector3d margin(1e-3f, 1e-3f, 1e-3f);
            for (const BruteTriangle& t : brute) {
                if (!ExactOverlap(t, lo + margin, hi - margin))
                    continue;
                ++listed;
                bool found = false;
                for (size_t i = 0; i < points.size() && !found; i += 4)
                    found = SameTriangle(&points[i], t);
                EXPECT_TRUE(found) << "set " << set << " box " << q;
            }
            // Everything listed is a triangle whose bounds meet the box.
            for (size_t i = 0; i < points.size(); i += 4)
                for (int k = 0; k < 3; ++k) {
                    EXPECT_LE(std::min({points[i][k], points[i + 1][k], points[i + 2][k]}), hi[k]);
                    EXPECT_GE(std::max({points[i][k], points[i + 1][k], points[i + 2][k]}), lo[k]);
                }
        }
    }
    // The random sets must exercise both queries.
    EXPECT_GT(hits, 100);
    EXPECT_GT(listed, 500);
}
