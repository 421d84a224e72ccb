#include "Source/Track/coAngles.h"

#include <cmath>

void WrapAngle(float& angle) {
    // The remainder is exact and ends for any value, where stepping by whole turns would not.
    angle = std::remainder(angle, maTwoPiF);
}

bool WrapFiniteAngle(float& angle) {
    if (!std::isfinite(angle))
        return false;
    WrapAngle(angle);
    return true;
}
