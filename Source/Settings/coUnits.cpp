#include "coUnits.h"

#include "coPrefs.h"

float coToDisplayLength(float metres) {
    return coPrefs::GetBool(coPrefMetricUnits) ? metres : metres * 3.28084f;
}

float coToDisplaySpeed(float metresPerSecond) {
    return metresPerSecond * (coPrefs::GetBool(coPrefMetricUnits) ? 3.6f : 2.236936f);
}
