#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/An/anConstantAnimation.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

TEST(anAnimation, MapTime) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float duration;
        bool loop, pingPong;
        float t, expected;
    };
    const Case cases[] = {
        {2, true, true, 2.5f, 1.5f},
        {2, true, true, 4.5f, 0.5f},
        {2, true, true, -1, 0},
        {2, true, true, -3, 0},
        {2, true, false, 4.5f, 0.5f},
        {2, false, true, 3, 1},
        {2, false, true, 5, 0},
        {2, false, false, 3, 2},
        {2, false, false, -1, 0},
        // No period to loop over: clamped into [0, max(d, 0)].
        {0, true, true, 3, 0},
        {-1, true, false, 3, 0},
        {inf, true, true, 3, 3},
        // A pass count beyond every integer range still lands in the period.
        {0.5f, true, true, 1e12f, 0},
    };
    for (const Case& c : cases) {
        anConstantAnimation<float> a;
        a.SetDuration(c.duration);
        a.SetLooping(c.loop);
        a.SetPingPong(c.pingPong);
        EXPECT_EQ(a.MapTime(c.t), c.expected) << c.duration << ' ' << c.loop << c.pingPong << ' ' << c.t;
    }
    anConstantAnimation<float> fine;
    fine.SetDuration(0.001f);
    fine.SetLooping(true);
    EXPECT_LE(fine.MapTime(1e12f), 0.001f);
}

TEST(anAnimation, TwoStateBlendsPerComponent) {
    an2StateAnimation<g3dARGBColor> colour;
    colour.SetStates({0, 1, 0, 1}, {1, 0, 0.5f, 0});
    colour.SetDuration(2);
    const g3dARGBColor c = colour.Evaluate(0.5f);
    EXPECT_EQ(std::tuple(c.r, c.g, c.b, c.a), std::tuple(0.25f, 0.75f, 0.125f, 0.75f));

    an2StateAnimation<maVector2d> vector;
    vector.SetStates({0, 4}, {2, 0});
    vector.SetDuration(1);
    vector.ScaleTime(2);
    EXPECT_EQ(std::tuple(vector.Evaluate(1).x, vector.Evaluate(1).y), std::tuple(1.0f, 2.0f));

    // Without a positive duration the value is the second state.
    an2StateAnimation<float> instant;
    instant.SetStates(1, 3);
    EXPECT_EQ(instant.Evaluate(0), 3.0f);
    instant.SetDuration(-1);
    EXPECT_EQ(instant.Evaluate(5), 3.0f);
}

TEST(anAnimation, InstanceCloneKeepsTheStartTime) {
    an2StateAnimation<float> source;
    const anTypedAnimation<float>* animation = &source;
    const auto copy = source.CreateInstance(4.5f)->Clone();
    const auto& typed = dynamic_cast<const anTypedAnimInstance<float>&>(*copy);
    EXPECT_EQ(std::pair(typed.GetStartTime(), &typed.GetAnimation()), std::pair(4.5f, animation));
}
