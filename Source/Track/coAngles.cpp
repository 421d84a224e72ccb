#include "Source/Track/coAngles.h"

#include <cmath>

void WrapAngle(float& angle) {
    // The remainder is exact and ends for any value, where stepping by whole turns would not. Inside
    // [-pi, pi] it is the angle itself, so the common case skips the library call.
    if (!(std::fabs(angle) <= maPiF))
        angle = std::remainder(angle, maTwoPiF);
}

bool WrapFiniteAngle(float& angle) {
    if (!std::isfinite(angle))
        return false;
    WrapAngle(angle);
    return true;
}
