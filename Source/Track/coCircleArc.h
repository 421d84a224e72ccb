#pragma once
#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maVector.h"

#include <cmath>

// A horizontal circular arc that turns a heading by a signed angle, the shape of the Turn and ShallowTurn
// pieces. A point on it is named by its angle p about the circle's centre, which lies to the side the
// arc turns to; an angle of 0 counts as turning towards larger headings.

// The angle p of the arc's start point.
inline float coArcStartAngle(float heading, float angle) {
    return angle >= 0.0f ? heading - maHalfPiF : heading + maHalfPiF;
}

// The horizontal unit tangent in the direction of travel, and the side vector of the heading there.
inline maVector3d coArcTangent(float p, float angle) {
    return angle >= 0.0f ? maVector3d(std::cos(p), 0.0f, -std::sin(p)) : maVector3d(-std::cos(p), 0.0f, std::sin(p));
}
inline maVector3d coArcSide(float p, float angle) {
    return angle >= 0.0f ? maVector3d(-std::sin(p), 0.0f, -std::cos(p)) : maVector3d(std::sin(p), 0.0f, std::cos(p));
}

// The horizontal step from the point at p0 to the point at p.
inline maVector3d coArcOffset(float radius, float p0, float p) {
    return maVector3d(radius * (std::sin(p) - std::sin(p0)), 0.0f, radius * (std::cos(p) - std::cos(p0)));
}
