#pragma once
#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maVector.h"

#include <type_traits>

// An axis-aligned box, stored interleaved (min x, max x, min y, max y, min z, max z) as the file formats
// and renderer hand it on. The default box is empty: every min is the largest float, every max its negation.
class maBoundingBox {
  public:
    maBoundingBox() = default;
    maBoundingBox(const maVector3d& a, const maVector3d& b) { Set(a, b); }

    // The box spanned by two corner points, in either order.
    void Set(const maVector3d& a, const maVector3d& b);
    // Widens the box to take in p.
    void AddPoint(const maVector3d& p);

    maVector3d GetMin() const { return {minX, minY, minZ}; }
    maVector3d GetMax() const { return {maxX, maxY, maxZ}; }
    maVector3d GetCenter() const;
    // Half the diagonal.
    float GetRadius() const;
    // Corner i in 0..7: bit 0 set takes min x, else max x; bit 1 y; bit 2 z. So corner 0 is (max, max, max)
    // and corner 7 (min, min, min); frustum and collision tests rely on this order. Other i give (0, 0, 0).
    maVector3d GetCorner(int i) const;
    void GetCorners(maVector3d corners[8]) const;
    // The same corners with w = 1.
    void GetCorners4d(maVector4d corners[8]) const;

    float minX = maMaxFloat;
    float maxX = -maMaxFloat;
    float minY = maMaxFloat;
    float maxY = -maMaxFloat;
    float minZ = maMaxFloat;
    float maxZ = -maMaxFloat;
};

static_assert(sizeof(maBoundingBox) == 6 * sizeof(float) && std::is_trivially_copyable_v<maBoundingBox>);
