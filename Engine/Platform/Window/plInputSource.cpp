#include "Engine/Platform/Window/plInputSource.h"

#include <cmath>

i32 plScaleAxis(i32 raw, i32 rawMin, i32 rawMax, const plAxisProperties& properties) {
    const f64 rawCentre = (static_cast<f64>(rawMin) + rawMax) / 2.0;
    const f64 rawHalf = (static_cast<f64>(rawMax) - rawMin) / 2.0;
    if (rawHalf <= 0.0)
        return properties.min;
    // The distance from the centre in ten-thousandths of the half range, and its side.
    const f64 offset = (raw - rawCentre) / rawHalf;
    const f64 distance = std::fmin(std::fabs(offset) * 10000.0, 10000.0);
    f64 travel = 0.0;
    if (distance >= properties.saturation)
        travel = 1.0;
    else if (distance > properties.deadZone)
        travel = (distance - properties.deadZone) / (properties.saturation - properties.deadZone);
    const f64 centre = (static_cast<f64>(properties.min) + properties.max) / 2.0;
    const f64 half = (static_cast<f64>(properties.max) - properties.min) / 2.0;
    return static_cast<i32>(std::lround(centre + (offset < 0.0 ? -travel : travel) * half));
}
