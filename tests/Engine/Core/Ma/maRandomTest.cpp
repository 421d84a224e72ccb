#include "Engine/Core/Ma/maRandom.h"

#include <gtest/gtest.h>

TEST(maRandom, KnownSequences) {
    maRandomSeed(1);
    for (u32 expected : {41u, 18467u, 6334u, 26500u, 19169u})
        EXPECT_EQ(maRandomInt(), expected);
    maRandomSeed(0);
    for (u32 expected : {38u, 7719u, 21238u, 2437u, 8855u})
        EXPECT_EQ(maRandomInt(), expected);
}

TEST(maRandom, FloatsSpanTheRangeInclusive) {
    maRandomSeed(99);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(maRandomFloat(2.0f, 2.0f), 2.0f);

    bool sawOne = false, sawZero = false;
    for (int i = 0; i < 200000; ++i) {
        const float f = maRandomFloat(0.0f, 1.0f);
        ASSERT_GE(f, 0.0f);
        ASSERT_LE(f, 1.0f);
        sawOne |= f == 1.0f;
        sawZero |= f == 0.0f;
    }
    EXPECT_TRUE(sawOne);
    EXPECT_TRUE(sawZero);

    for (int i = 0; i < 1000; ++i) {
        const float f = maRandomFloat(5.0f, -3.0f);
        ASSERT_GE(f, -3.0f);
        ASSERT_LE(f, 5.0f);
    }
}
