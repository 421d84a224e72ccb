#pragma once
#include "Engine/Core/Ma/maVector.h"

// Cubic Bezier curves on four control points, shared by several piece classes.

// t is clamped to [0, 1], so the curve never runs past its end points.
maVector3d BezierPoint(const maVector3d points[4], float t);
// The unit derivative at t (t not clamped); a zero derivative is returned as it is.
maVector3d BezierTangent(const maVector3d points[4], float t);
// 3t^2 - 2t^3 with t clamped to [0, 1]: the ease of corkscrew and loop rolls.
float coEaseInOut(float t);
