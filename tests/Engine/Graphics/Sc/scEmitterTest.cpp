#include "Engine/Graphics/Sc/scEmitter.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Core/Ma/maRandom.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(scEmitter, BlockDrawsZThenYThenXWithinTheBox) {
    scBlockEmitter emitter(2, 4, 6);
    maVector3d p;
    for (u32 seed = 0; seed < 500; ++seed) {
        maRandomSeed(seed);
        const float z = maRandomFloat(-3, 3);
        const float y = maRandomFloat(-2, 2);
        const float x = maRandomFloat(-1, 1);
        maRandomSeed(seed);
        EXPECT_EQ(&emitter.GetPoint(p), &p);
        ASSERT_EQ(p.x, x);
        ASSERT_EQ(p.y, y);
        ASSERT_EQ(p.z, z);
        ASSERT_TRUE(std::abs(p.x) <= 1 && std::abs(p.y) <= 2 && std::abs(p.z) <= 3);
    }
}

TEST(scEmitter, CircleDrawsRadiusThenAngle) {
    maVector3d p;
    scCircleEmitter point(0);
    for (int i = 0; i < 100; ++i) {
        point.GetPoint(p);
        ASSERT_TRUE(p.x == 0 && p.y == 0 && p.z == 0);
    }

    scCircleEmitter disc(2);
    maRandomSeed(11);
    const float r = std::sqrt(maRandomFloat(0, 1)) * 2;
    const float a = maRandomFloat(0, maTwoPiF);
    maRandomSeed(11);
    disc.GetPoint(p);
    EXPECT_EQ(p.x, std::cos(a) * r);
    EXPECT_EQ(p.y, std::sin(a) * r);
    EXPECT_EQ(p.z, 0.0f);
}

TEST(scEmitter, PointDrawsNothing) {
    maRandomSeed(5);
    const u32 first = maRandomInt();
    maRandomSeed(5);
    scPointEmitter emitter;
    maVector3d p(1, 2, 3);
    emitter.GetPoint(p);
    EXPECT_TRUE(p.x == 0 && p.y == 0 && p.z == 0);
    EXPECT_EQ(maRandomInt(), first);
}
