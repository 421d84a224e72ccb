#include "Source/World/coTargetRing.h"

#include "Engine/Core/Geo/geoIntersection.h"

#include <cmath>

maVector3d coRingNormal(f32 heading, f32 pitch) {
    const f32 c = std::cos(pitch);
    return maVector3d(c * std::sin(heading), -std::sin(pitch), c * std::cos(heading));
}

void coTargetRing::SetHeading(f32 heading) {
    m_heading = heading;
    m_normal = coRingNormal(m_heading, m_pitch);
}

void coTargetRing::SetPitch(f32 pitch) {
    m_pitch = pitch;
    m_normal = coRingNormal(m_heading, m_pitch);
}

bool coTargetRing::RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const {
    f32 hit = 0.0f;
    if (maDot(direction, m_normal) == 0.0f ||
        !geoIntersectLinePlane(origin, direction, m_position, m_normal, hit))
        return false;
    if (hit < 0.0f || hit > 1.0f)
        return false;
    const maVector3d d = origin + direction * hit - m_position;
    if (maDot(d, d) >= m_radius * m_radius)
        return false;
    t = hit;
    return true;
}
