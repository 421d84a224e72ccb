#include "Engine/Core/Ma/maBoundingBox.h"

#include <cmath>

namespace {

void SetSpan(float a, float b, float& lo, float& hi) {
    if (a <= b) {
        lo = a;
        hi = b;
    } else {
        lo = b;
        hi = a;
    }
}

} // namespace

void maBoundingBox::Set(const maVector3d& a, const maVector3d& b) {
    SetSpan(a.x, b.x, minX, maxX);
    SetSpan(a.y, b.y, minY, maxY);
    SetSpan(a.z, b.z, minZ, maxZ);
}

void maBoundingBox::AddPoint(const maVector3d& p) {
    if (p.x < minX)
        minX = p.x;
    if (p.x > maxX)
        maxX = p.x;
    if (p.y < minY)
        minY = p.y;
    if (p.y > maxY)
        maxY = p.y;
    if (p.z < minZ)
        minZ = p.z;
    if (p.z > maxZ)
        maxZ = p.z;
}

maVector3d maBoundingBox::GetCenter() const {
    return {(minX + maxX) * 0.5f, (minY + maxY) * 0.5f, (minZ + maxZ) * 0.5f};
}

float maBoundingBox::GetRadius() const {
    const float dx = maxX - minX, dy = maxY - minY, dz = maxZ - minZ;
    return 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz);
}

maVector3d maBoundingBox::GetCorner(int i) const {
    if (i < 0 || i > 7)
        return {0.0f, 0.0f, 0.0f};
    return {(i & 1) ? minX : maxX, (i & 2) ? minY : maxY, (i & 4) ? minZ : maxZ};
}

void maBoundingBox::GetCorners(maVector3d corners[8]) const {
    for (int i = 0; i < 8; ++i)
        corners[i] = GetCorner(i);
}

void maBoundingBox::GetCorners4d(maVector4d corners[8]) const {
    for (int i = 0; i < 8; ++i) {
        const maVector3d c = GetCorner(i);
        corners[i] = maVector4d(c.x, c.y, c.z, 1.0f);
    }
}
