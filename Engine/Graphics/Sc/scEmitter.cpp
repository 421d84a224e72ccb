#include "Engine/Graphics/Sc/scEmitter.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maRandom.h"

#include <cmath>

maVector3d& scPointEmitter::GetPoint(maVector3d& out) {
    out.SetRaw(0.0f, 0.0f, 0.0f);
    return out;
}

scBlockEmitter::scBlockEmitter(float sizeX, float sizeY, float sizeZ)
    : m_halfX(sizeX * 0.5f), m_halfY(sizeY * 0.5f), m_halfZ(sizeZ * 0.5f) {}

maVector3d& scBlockEmitter::GetPoint(maVector3d& out) {
    const float z = maRandomFloat(-m_halfZ, m_halfZ);
    const float y = maRandomFloat(-m_halfY, m_halfY);
    const float x = maRandomFloat(-m_halfX, m_halfX);
    out.SetRaw(x, y, z);
    return out;
}

maVector3d& scCircleEmitter::GetPoint(maVector3d& out) {
    // The square root spreads the points evenly over the area rather than over the radius.
    const float r = std::sqrt(maRandomFloat(0.0f, 1.0f)) * m_radius;
    const float angle = maRandomFloat(0.0f, maTwoPiF);
    out.SetRaw(std::cos(angle) * r, std::sin(angle) * r, 0.0f);
    return out;
}
