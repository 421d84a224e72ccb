#include "Engine/Graphics/Sc/scEmitter.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

std::tuple<float, float, float> Point(scEmitter& emitter, u32 seed) {
    maRandomSeed(seed);
    maVector3d p(1, 2, 3);
    emitter.GetPoint(p);
    return {p.x, p.y, p.z};
}

} // namespace

// Each shape's draws, in its order, against the same seed.
TEST(scEmitter, DrawOrderAndBounds) {
    scBlockEmitter box(2, 4, 6);
    for (u32 seed = 0; seed < 500; ++seed) {
        maRandomSeed(seed);
        const float z = maRandomFloat(-3, 3), y = maRandomFloat(-2, 2), x = maRandomFloat(-1, 1);
        ASSERT_EQ(Point(box, seed), std::tuple(x, y, z));
        ASSERT_TRUE(std::abs(x) <= 1 && std::abs(y) <= 2 && std::abs(z) <= 3);
    }

    scCircleEmitter disc(2);
    maRandomSeed(11);
    const float r = std::sqrt(maRandomFloat(0, 1)) * 2, a = maRandomFloat(0, maTwoPiF);
    EXPECT_EQ(Point(disc, 11), std::tuple(std::cos(a) * r, std::sin(a) * r, 0.0f));

    scCircleEmitter centre(0);
    EXPECT_EQ(Point(centre, 3), std::tuple(0.0f, 0.0f, 0.0f));

    // The point emitter leaves the sequence where it was.
    scPointEmitter point;
    EXPECT_EQ(Point(point, 5), std::tuple(0.0f, 0.0f, 0.0f));
    const u32 next = maRandomInt();
    maRandomSeed(5);
    EXPECT_EQ(maRandomInt(), next);
}
