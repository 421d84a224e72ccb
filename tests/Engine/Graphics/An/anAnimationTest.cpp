#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/An/anConstantAnimation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
    };
    for (const Case& c : cases) {
        anConstantAnimation<float> a;
        a.SetDuration(c.duration);
        a.SetLooping(c.loop);
        a.SetPingPong(c.pingPong);
        EXPECT_EQ(a.MapTime(c.t), c.expected) << c.duration << ' ' << c.loop << c.pingPong << ' ' << c.t;
    }

    // A pass count beyond every integer range still maps into the period.
    anConstantAnimation<float> a;
    a.SetDuration(0.001f);
    a.SetLooping(true);
    a.SetPingPong(true);
    const float mapped = a.MapTime(1e12f);
    EXPECT_GE(mapped, 0.0f);
    EXPECT_LE(mapped, 0.001f);
}

TEST(anAnimation, TwoStateBlendsPerComponent) {
    an2StateAnimation<g3dARGBColor> colour;
    colour.SetStates({0, 1, 0, 1}, {1, 0, 0.5f, 0});
    colour.SetDuration(2);
    const g3dARGBColor c = colour.Evaluate(0.5f);
    EXPECT_EQ(c.r, 0.25f);
    EXPECT_EQ(c.g, 0.75f);
    EXPECT_EQ(c.b, 0.125f);
    EXPECT_EQ(c.a, 0.75f);

    an2StateAnimation<maVector2d> vector;
    vector.SetStates({0, 4}, {2, 0});
    vector.SetDuration(1);
    vector.ScaleTime(2);
    EXPECT_EQ(vector.Evaluate(1).x, 1.0f);
    EXPECT_EQ(vector.Evaluate(1).y, 2.0f);

    // Without a positive duration the value is the second state.
    an2StateAnimation<float> instant;
    instant.SetStates(1, 3);
    EXPECT_EQ(instant.Evaluate(0), 3.0f);
    instant.SetDuration(-1);
    EXPECT_EQ(instant.Evaluate(5), 3.0f);
}

TEST(anAnimation, InstancesAndClones) {
    an2StateAnimation<float> source;
    source.SetStates(0, 10);
    source.SetDuration(1);
    source.SetLooping(true);

    const auto instance = source.CreateInstance(4.5f);
    const auto copy = instance->Clone();
    const auto* typed = dynamic_cast<const anTypedAnimInstance<float>*>(copy.get());
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->GetStartTime(), 4.5f);
    EXPECT_EQ(&typed->GetAnimation(), &source);

    const auto clone = source.Clone();
    clone->ScaleTime(2);
    clone->SetLooping(false);
    EXPECT_EQ(source.GetDuration(), 1.0f);
    EXPECT_EQ(source.Evaluate(1.5f), 5.0f);
    EXPECT_EQ(dynamic_cast<const an2StateAnimation<float>&>(*clone).Evaluate(3), 10.0f);
}
