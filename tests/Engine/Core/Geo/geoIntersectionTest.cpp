#include "Engine/Core/Geo/geoIntersection.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const maVector3d kUp(0, 1, 0);

bool TrianglesIntersect(const maVector3d (&a)[3], const maVector3d (&b)[3]) {
    maVector3d na, nb;
    (a[1] - a[0]).Cross(a[2] - a[0], na);
    (b[1] - b[0]).Cross(b[2] - b[0], nb);
    const bool ab = geoTrianglesIntersect(a[0], a[1], a[2], na, b[0], b[1], b[2], nb);
    const bool ba = geoTrianglesIntersect(b[0], b[1], b[2], nb, a[0], a[1], a[2], na);
    EXPECT_EQ(ab, ba) << "the answer must not depend on the order";
    return ab;
}

} // namespace

TEST(geoIntersection, TrianglesTouchingAtAVertexOrEdgeIntersect) {
    const maVector3d ground[3] = {{0, 0, 0}, {0, 0, 4}, {4, 0, 0}};
    // Standing on the ground triangle's corner only.
    const maVector3d onVertex[3] = {{0, 0, 0}, {-1, 3, -1}, {-2, 3, 1}};
    EXPECT_TRUE(TrianglesIntersect(ground, onVertex));
    // Sharing the edge from (0,0,0) to (4,0,0), tilted up.
    const maVector3d onEdge[3] = {{0, 0, 0}, {4, 0, 0}, {2, 3, -2}};
    EXPECT_TRUE(TrianglesIntersect(ground, onEdge));
    // Piercing it.
    const maVector3d piercing[3] = {{1, -1, 1}, {1, 1, 1}, {1.5f, 1, -3}};
    EXPECT_TRUE(TrianglesIntersect(ground, piercing));
    // Parallel a little above.
    const maVector3d above[3] = {{0, 0.01f, 0}, {0, 0.01f, 4}, {4, 0.01f, 0}};
    EXPECT_FALSE(TrianglesIntersect(ground, above));
    // Standing beside it, just clear of its hypotenuse.
    const maVector3d beside[3] = {{2.1f, -1, 2.1f}, {2.1f, 1, 2.1f}, {5, 0, 5}};
    EXPECT_FALSE(TrianglesIntersect(ground, beside));
    // Crossing its plane outside it.
    const maVector3d outside[3] = {{-1, -1, -1}, {-1, 1, -1}, {-2, 0, -3}};
    EXPECT_FALSE(TrianglesIntersect(ground, outside));
}

TEST(geoIntersection, CoplanarTriangles) {
    const maVector3d ground[3] = {{0, 0, 0}, {0, 0, 4}, {4, 0, 0}};
    const maVector3d overlapping[3] = {{1, 0, 1}, {1, 0, -3}, {-3, 0, 1}};
    EXPECT_TRUE(TrianglesIntersect(ground, overlapping));
    const maVector3d inside[3] = {{0.5f, 0, 0.5f}, {0.5f, 0, 1}, {1, 0, 0.5f}};
    EXPECT_TRUE(TrianglesIntersect(ground, inside));
    const maVector3d gap[3] = {{3, 0, 3}, {3, 0, 6}, {6, 0, 3}};
    EXPECT_FALSE(TrianglesIntersect(ground, gap));
    const maVector3d sharedVertex[3] = {{4, 0, 0}, {6, 0, 1}, {6, 0, -1}};
    EXPECT_TRUE(TrianglesIntersect(ground, sharedVertex));
    // Coplanar in a plane facing x.
    const maVector3d wallA[3] = {{2, 0, 0}, {2, 4, 0}, {2, 0, 4}};
    const maVector3d wallB[3] = {{2, 1, 1}, {2, 5, 1}, {2, 1, 5}};
    const maVector3d wallC[3] = {{2, 3, 3}, {2, 6, 3}, {2, 3, 6}};
    EXPECT_TRUE(TrianglesIntersect(wallA, wallB));
    EXPECT_FALSE(TrianglesIntersect(wallA, wallC));
}

TEST(geoIntersection, CapsulesAndCylindersAtTheBoundary) {
    // Parallel segments 2 apart touch with radii summing to 2 and not beyond.
    EXPECT_TRUE(geoCapsulesTouch({0, 0, 0}, {4, 0, 0}, {1, 2, 0}, {4, 0, 0}, 1, 1, true));
    EXPECT_FALSE(geoCapsulesTouch({0, 0, 0}, {4, 0, 0}, {1, 2.01f, 0}, {4, 0, 0}, 1, 1, true));
    // Crossing segments 2 apart.
    EXPECT_TRUE(geoCapsulesTouch({-1, 0, 0}, {2, 0, 0}, {0, 2, -1}, {0, 0, 2}, 0.5f, 1.5f, true));
    EXPECT_FALSE(geoCapsulesTouch({-1, 0, 0}, {2, 0, 0}, {0, 2.01f, -1}, {0, 0, 2}, 0.5f, 1.5f, true));
    EXPECT_TRUE(geoCylindersTouch({-1, 0, 0}, {2, 0, 0}, {0, 2, -1}, {0, 0, 2}, 0.5f, 1.5f));

    // Collinear with a gap of 1: round ends of radius 1 meet, flat ends do not.
    EXPECT_TRUE(geoCapsulesTouch({0, 0, 0}, {2, 0, 0}, {3, 0, 0}, {2, 0, 0}, 1, 1, true));
    EXPECT_FALSE(geoCylindersTouch({0, 0, 0}, {2, 0, 0}, {3, 0, 0}, {2, 0, 0}, 1, 1));
    EXPECT_FALSE(geoCapsulesTouch({0, 0, 0}, {2, 0, 0}, {4.1f, 0, 0}, {2, 0, 0}, 1, 1, true));

    // Only the parameter on segment 1 is clamped: the ends decide, not the clamped line points.
    // Line 2 comes nearest to line 1 at x = -5, before segment 1 starts; it passes about 0.515 from (0,0,0).
    const maVector3d p2(-7, 0.05f, 0.5f), d2(20, -0.5f, 0);
    EXPECT_TRUE(geoCapsulesTouch({0, 0, 0}, {1, 0, 0}, p2, d2, 0.3f, 0.3f, true));
    EXPECT_FALSE(geoCapsulesTouch({0, 0, 0}, {1, 0, 0}, p2, d2, 0.2f, 0.2f, true));

    // Both parameters clamped: the ends of skew segments far from the lines' crossing.
    EXPECT_TRUE(geoCapsulesTouch({0, 0, 0}, {1, 0, 0}, {2, 0.5f, 0}, {1, 1, 0}, 0.6f, 0.6f, true));
    EXPECT_FALSE(geoCapsulesTouch({0, 0, 0}, {1, 0, 0}, {2, 0.5f, 0}, {1, 1, 0}, 0.5f, 0.5f, true));

    // Flat end of cylinder 1 (x = 2) against the side of cylinder 2 (axis along y at x = 2.6): 0.1 apart
    // with radii 0.5, so the second radius must enter squared.
    EXPECT_TRUE(geoCapsulesTouch({0, 0, 0}, {2, 0, 0}, {2.6f, -1, 0}, {0, 2, 0}, 0.5f, 0.5f, true));
    EXPECT_FALSE(geoCylindersTouch({0, 0, 0}, {2, 0, 0}, {2.6f, -1, 0}, {0, 2, 0}, 0.5f, 0.5f));
    EXPECT_TRUE(geoCylindersTouch({0, 0, 0}, {2, 0, 0}, {2.4f, -1, 0}, {0, 2, 0}, 0.5f, 0.5f));
    // The same with the roles swapped tests the first radius.
    EXPECT_FALSE(geoCylindersTouch({2.6f, -1, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}, 0.5f, 0.5f));
    EXPECT_TRUE(geoCylindersTouch({2.4f, -1, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}, 0.5f, 0.5f));
}

TEST(geoIntersection, PointNearSegment) {
    float t = -1;
    EXPECT_TRUE(geoPointNearSegment({0, 0, 0}, {2, 0, 0}, {1, 0.5f, 0}, 0.5f, t));
    EXPECT_EQ(t, 0.5f);
    EXPECT_FALSE(geoPointNearSegment({0, 0, 0}, {2, 0, 0}, {1, 0.5001f, 0}, 0.5f, t));
    EXPECT_TRUE(geoPointNearSegment({0, 0, 0}, {2, 0, 0}, {2.25f, 0, 0}, 0.25f, t));
    EXPECT_EQ(t, 1.0f);
    EXPECT_TRUE(geoPointNearSegment({0, 0, 0}, {2, 0, 0}, {-0.1f, 0.1f, 0}, 0.25f, t));
    EXPECT_EQ(t, 0.0f);
    t = 7;
    EXPECT_FALSE(geoPointNearSegment({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 1, t));
    EXPECT_EQ(t, 7.0f);
}

TEST(geoIntersection, SegmentAgainstBox) {
    const maVector3d lo(0, 0, 0), hi(2, 2, 2);
    float t = -1;
    // Entering through the x = 0 face.
    EXPECT_TRUE(geoIntersectSegmentBox({-2, 1, 1}, {4, 0.5f, 0}, lo, hi, t));
    EXPECT_EQ(t, 0.5f);
    // The start on a face gives t = 0, also when the start lies on another face's plane.
    EXPECT_TRUE(geoIntersectSegmentBox({0, 1, 1}, {1, 0.5f, 0.5f}, lo, hi, t));
    EXPECT_EQ(t, 0.0f);
    EXPECT_TRUE(geoIntersectSegmentBox({0, 0, 1}, {1, 1, 0.5f}, lo, hi, t));
    EXPECT_EQ(t, 0.0f);
    // On the plane of a face but outside the box on another axis.
    EXPECT_FALSE(geoIntersectSegmentBox({0, 3, 1}, {1, 0.5f, 0.5f}, lo, hi, t));
    // Too short to reach, or pointing away.
    EXPECT_FALSE(geoIntersectSegmentBox({-2, 1, 1}, {1.9f, 0, 0}, lo, hi, t));
    EXPECT_FALSE(geoIntersectSegmentBox({-2, 1, 1}, {-4, 0, 0}, lo, hi, t));
    // Passing beside it.
    EXPECT_FALSE(geoIntersectSegmentBox({-2, 3, 1}, {4, 0, 0}, lo, hi, t));
    // Reaching exactly to the face: t = 1 counts.
    EXPECT_TRUE(geoIntersectSegmentBox({-2, 1, 1}, {2, 0, 0}, lo, hi, t));
    EXPECT_EQ(t, 1.0f);
    // A start inside with no component of d zero has not entered; with zero components it is at t = 0.
    EXPECT_FALSE(geoIntersectSegmentBox({1, 1, 1}, {1, 1, 1}, lo, hi, t));
    EXPECT_TRUE(geoIntersectSegmentBox({1, 1, 1}, {5, 0, 0}, lo, hi, t));
    EXPECT_EQ(t, 0.0f);
    // Entering through the top, coming down.
    EXPECT_TRUE(geoIntersectSegmentBox({1, 6, 1}, {0, -8, 0}, lo, hi, t));
    EXPECT_EQ(t, 0.5f);
}

TEST(geoIntersection, SegmentsWithinDistanceAndLines) {
    float t = -1;
    // Crossing 1 apart: exactly the radius is not within it.
    EXPECT_FALSE(geoSegmentsWithinDistance({-1, 0, 0}, {2, 0, 0}, {0, 1, -1}, {0, 0, 2}, 1.0f, t));
    EXPECT_TRUE(geoSegmentsWithinDistance({-1, 0, 0}, {2, 0, 0}, {0, 1, -1}, {0, 0, 2}, 1.001f, t));
    EXPECT_FLOAT_EQ(t, 0.5f);
    // The closest point of line 1 beyond its end is clamped.
    EXPECT_TRUE(geoSegmentsWithinDistance({-4, 0, 0}, {2, 0, 0}, {0, 0, -1}, {0, 0, 2}, 2.5f, t));
    EXPECT_EQ(t, 1.0f);
    // The closest point of line 2 off segment 2.
    EXPECT_FALSE(geoSegmentsWithinDistance({-1, 0, 0}, {2, 0, 0}, {0, 0, 1}, {0, 0, 2}, 5.0f, t));
    // Parallel segments.
    EXPECT_FALSE(geoSegmentsWithinDistance({0, 0, 0}, {2, 0, 0}, {0, 0.1f, 0}, {1, 0, 0}, 5.0f, t));

    float t1 = 5, t2 = 5;
    EXPECT_FALSE(geoClosestPointsOfLines({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-3, 0, 0}, t1, t2));
    EXPECT_EQ(t1, 0.0f);
    EXPECT_EQ(t2, 0.0f);
    EXPECT_TRUE(geoClosestPointsOfLines({0, 0, 0}, {2, 0, 0}, {3, 1, -2}, {0, 0, 4}, t1, t2));
    EXPECT_FLOAT_EQ(t1, 1.5f);
    EXPECT_FLOAT_EQ(t2, 0.5f);

    EXPECT_TRUE(geoIntersectLinePlane({0, 5, 0}, {0, -10, 0}, {3, 1, 3}, kUp, t));
    EXPECT_FLOAT_EQ(t, 0.4f);
    EXPECT_TRUE(geoIntersectLinePlane({7, 1, 7}, {1, 0, 0}, {3, 1, 3}, kUp, t));
    EXPECT_EQ(t, 0.0f);
    t = 9;
    EXPECT_FALSE(geoIntersectLinePlane({7, 2, 7}, {1, 0, 0}, {3, 1, 3}, kUp, t));
    EXPECT_EQ(t, 9.0f);
}

TEST(geoIntersection, PointInTriangleOnEveryProjection) {
    float u = -1, v = -1;
    const maVector3d A(0, 0, 0), B(4, 0, 0), C(0, 0, 4);
    EXPECT_TRUE(geoPointInTriangle(A, B, C, {1, 0, 1}, kUp, u, v));
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.25f);
    // The edges and corners are inside.
    EXPECT_TRUE(geoPointInTriangle(A, B, C, {2, 0, 2}, kUp, u, v));
    EXPECT_TRUE(geoPointInTriangle(A, B, C, {4, 0, 0}, kUp, u, v));
    EXPECT_TRUE(geoPointInTriangle(A, B, C, {0, 0, 0}, kUp, u, v));
    EXPECT_FALSE(geoPointInTriangle(A, B, C, {2.01f, 0, 2}, kUp, u, v));
    EXPECT_FALSE(geoPointInTriangle(A, B, C, {-0.01f, 0, 2}, kUp, u, v));
    EXPECT_FALSE(geoPointInTriangle(A, B, C, {2, 0, -0.01f}, kUp, u, v));

    // A wall facing x (B - A without a component on the first kept axis: the second formula).
    const maVector3d wa(1, 0, 0), wb(1, 0, 4), wc(1, 4, 0), nx(-1, 0, 0);
    EXPECT_TRUE(geoPointInTriangle(wa, wb, wc, {1, 1, 1}, nx, u, v));
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.25f);
    EXPECT_FALSE(geoPointInTriangle(wa, wb, wc, {1, 3, 3}, nx, u, v));
    // A wall facing z.
    const maVector3d za(0, 0, 2), zb(4, 0, 2), zc(0, 4, 2), nz(0, 0, 1);
    EXPECT_TRUE(geoPointInTriangle(za, zb, zc, {1, 2, 2}, nz, u, v));
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    EXPECT_FALSE(geoPointInTriangle(za, zb, zc, {-1, 2, 2}, nz, u, v));
    // A degenerate triangle holds nothing.
    EXPECT_FALSE(geoPointInTriangle(A, A, A, A, kUp, u, v));
}
