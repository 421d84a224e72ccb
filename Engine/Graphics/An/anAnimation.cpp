#include "Engine/Graphics/An/anAnimation.h"

#include <algorithm>
#include <cmath>

float anAnimation::MapTime(float t) const {
    const float d = m_duration;
    // Before its start an animation rests at its start, whatever its flags.
    if (t < 0.0f)
        return 0.0f;
    // Without a finite positive duration there is no period to loop over.
    if (!(d > 0.0f) || !std::isfinite(d))
        return std::min(t, d > 0.0f ? d : 0.0f);

    float mapped = t;
    if (m_flags & kLoop) {
        // The pass count may exceed every integer type, so it stays a double.
        const double passes = std::trunc(double(t) / d);
        mapped = float(double(t) - passes * d);
        if ((m_flags & kPingPong) && std::fmod(passes, 2.0) != 0.0)
            mapped = d - mapped;
    } else if (t > d) {
        // Ping-pong without loop runs forward once, back once, then rests at the start.
        mapped = d;
        if (m_flags & kPingPong)
            mapped = t <= 2.0f * d ? 2.0f * d - t : 0.0f;
    }
    return std::clamp(mapped, 0.0f, d);
}
