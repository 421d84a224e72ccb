#pragma once
#include "Engine/Core/Ma/maVector.h"

// Cubic Bezier curves on four control points, shared by several piece classes.

// t is clamped to [0, 1], so the curve never runs past its end points.
maVector3d BezierPoint(const maVector3d points[4], float t);
// The derivative by t at t (t not clamped), and the same as a unit vector (a zero one as it is).
maVector3d BezierDerivative(const maVector3d points[4], float t);
maVector3d BezierTangent(const maVector3d points[4], float t);
// 3t^2 - 2t^3 with t clamped to [0, 1]: the ease of corkscrew and loop rolls.
float coEaseInOut(float t);
// The cubic from 0 to 1 over t in [0, 1] that leaves at rate m0 and arrives at rate m1, and its
// derivative. With both rates in [0, 3] it never falls. Pieces whose curve covers ground unevenly climb
// by it, so that near their ends they climb with the ground covered, as their neighbours do.
float coClimbShare(float t, float m0, float m1, float* rate);
