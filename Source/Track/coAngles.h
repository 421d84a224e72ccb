#pragma once
#include "Engine/Core/Ma/maConstants.h"

// Degree values of the track code become radians with the float pi/180, once, at compile time.
constexpr float coDegrees(float degrees) {
    return degrees * maRadiansPerDegreeF;
}

// Brings an angle into [-pi, pi] by whole turns; exactly +-pi stay as they are. Infinite and NaN
// angles give NaN (they are refused where they enter, when files are read).
void WrapAngle(float& angle);
// The same for angles from files and callers: false, leaving the angle as it is, when it is not finite.
bool WrapFiniteAngle(float& angle);
