#include "Engine/Graphics/An/anKeyAnimation.h"
#include "Engine/Graphics/An/anKeyData.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(anKeyAnimation, Evaluate) {
    struct Case {
        std::vector<std::pair<float, float>> keys;
        float t, expected;
    };
    const Case cases[] = {
        {{}, 1, 0},
        {{{0, 1}, {1, 3}}, 0.5f, 2},
        {{{0, 1}, {1, 3}}, 7, 3},
        {{{0.5f, 4}, {1, 6}}, 0.25f, 4},
        // Out of time order: before the earliest key its value holds, not the first one added's.
        {{{2, 8}, {1, 2}}, 0.5f, 2},
        {{{2, 8}, {1, 2}}, 1.5f, 5},
        // A key at a time already taken wins, the first key's time included.
        {{{0.5f, 1}, {1, 3}, {0.5f, 5}, {1, 9}}, 0, 5},
        {{{0.5f, 1}, {1, 3}, {0.5f, 5}, {1, 9}}, 0.75f, 7},
    };
    for (const Case& c : cases) {
        anKeyAnimation<float> a;
        for (auto [time, value] : c.keys)
            a.AddKey(time, value);
        EXPECT_EQ(a.Evaluate(c.t), c.expected) << c.keys.size() << " keys at " << c.t;
    }
}

TEST(anKeyAnimation, ScaleTimeAndClone) {
    anKeyAnimation<g3dARGBColor> c;
    c.AddKey(0, {0, 0, 0, 0});
    c.AddKey(1.5f, {3, 6, 0, 1.5f});
    c.AddKey(1.5f, {4, 8, 0, 2});
    c.ScaleTime(2);
    EXPECT_EQ(c.GetDuration(), 3.0f);
    // The replaced key stays hidden after scaling.
    EXPECT_EQ(std::tuple(c.Evaluate(0).g, c.Evaluate(3).g, c.Evaluate(1.5f).r), std::tuple(0.0f, 8.0f, 2.0f));

    anKeyAnimation<float> empty;
    empty.ScaleTime(2);
    EXPECT_EQ(empty.GetDuration(), -1.0f);

    const auto clone = c.Clone();
    auto& cloned = dynamic_cast<anKeyAnimation<g3dARGBColor>&>(*clone);
    cloned.AddKey(0, {1, 1, 1, 1});
    EXPECT_EQ(std::tuple(c.Evaluate(0).r, cloned.Evaluate(0).r), std::tuple(0.0f, 1.0f));
}

TEST(anKeyData, Evaluate) {
    anKeyData<maVector3d> positions;
    EXPECT_EQ(positions.Evaluate(1).x, 0.0f);
    positions.AddKey(0, {0, 2, -4});
    positions.AddKey(2, {4, 2, 0});
    const maVector3d p = positions.Evaluate(0.5f);
    EXPECT_EQ(std::tuple(p.x, p.y, p.z), std::tuple(1.0f, 2.0f, -3.0f));
    // Key data has no duration: times beyond the last key are not mapped back.
    EXPECT_EQ(positions.Evaluate(9).x, 4.0f);
    positions.ScaleTime(0.5f);
    EXPECT_EQ(positions.Evaluate(0.5f).x, 2.0f);

    anKeyData<maRotation> rotations;
    EXPECT_EQ(rotations.Evaluate(0).w, 1.0f);
    rotations.AddKey(0, maRotation());
    rotations.AddKey(1, maRotation(0, 1, 0, 0));
    const maRotation q = rotations.Evaluate(0.5f);
    EXPECT_EQ(std::tuple(q.x, q.y, q.z, q.w), std::tuple(0.0f, 0.5f, 0.0f, 0.5f));
}
