#pragma once
#include "Engine/Core/Ma/maVector.h"

// Exact intersection tests run after coarse box searches. A segment is a start p and a direction d, its
// points p + t*d for t in [0, 1]; a box is its minimum and maximum corners; triangle normals come from
// the caller and are not normalised here. Nothing allocates; failure is answering false.

// Clamps t to [0, 1]; true when it had to.
bool geoClamp01(float& t);
// Divides v by its length when the length is above 0; returns the length.
float geoNormalise(maVector3d& v);
// Squared distance from q to the segment start + s*unitDir, s in [0, length].
float geoSquaredDistanceToSegment(const maVector3d& q, const maVector3d& start, const maVector3d& unitDir,
                                  float length);

// True when the closed triangles V and U (with plane normals N1 and N2) share a point.
bool geoTrianglesIntersect(const maVector3d& V0, const maVector3d& V1, const maVector3d& V2,
                           const maVector3d& N1, const maVector3d& U0, const maVector3d& U1,
                           const maVector3d& U2, const maVector3d& N2);
// True when the solids of radius r1 around segment 1 and r2 around segment 2 touch; with sphericalCaps the
// solids are capsules, without them cylinders with flat ends.
bool geoCapsulesTouch(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2, const maVector3d& d2,
                      float r1, float r2, bool sphericalCaps);
bool geoCylindersTouch(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2, const maVector3d& d2,
                       float r1, float r2);
// True, with the clamped parameter of the nearest point, when q lies within r of the segment (r included).
bool geoPointNearSegment(const maVector3d& p, const maVector3d& d, const maVector3d& q, float r, float& t);
// True, with the entry parameter, when the segment enters the box; a start on the box gives t = 0.
bool geoIntersectSegmentBox(const maVector3d& p, const maVector3d& d, const maVector3d& boxMin,
                            const maVector3d& boxMax, float& t);
// True when the segments come closer than radius (strictly), the closest point of line 2 lying on
// segment 2; t is the clamped parameter on segment 1.
bool geoSegmentsWithinDistance(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2,
                               const maVector3d& d2, float radius, float& t);
// True, with t, when the line p + t*d meets the plane through q with normal n (t = 0 when p lies in it).
bool geoIntersectLinePlane(const maVector3d& p, const maVector3d& d, const maVector3d& q, const maVector3d& n,
                           float& t);
// The parameters of the closest points of two lines; false, both 0, for parallel lines.
bool geoClosestPointsOfLines(const maVector3d& p1, const maVector3d& d1, const maVector3d& p2,
                             const maVector3d& d2, float& t1, float& t2);
// True when P (in the triangle's plane) = A + u*(B - A) + v*(C - A) with u >= 0, v in [0, 1], u + v <= 1.
bool geoPointInTriangle(const maVector3d& A, const maVector3d& B, const maVector3d& C, const maVector3d& P,
                        const maVector3d& N, float& u, float& v);
