#include "Engine/Graphics/An/anKeyAnimation.h"
#include "Engine/Graphics/An/anKeyData.h"

#include <gtest/gtest.h>

TEST(anKeyAnimation, Evaluate) {
    anKeyAnimation<float> a;
    EXPECT_EQ(a.Evaluate(1), 0.0f);
    a.AddKey(0, 1);
    a.AddKey(1, 3);
    EXPECT_EQ(a.GetDuration(), 1.0f);
    for (auto [t, expected] : {std::pair{0.5f, 2.0f}, {1.0f, 3.0f}, {7.0f, 3.0f}})
        EXPECT_EQ(a.Evaluate(t), expected) << t;

    anKeyAnimation<float> late;
    late.AddKey(0.5f, 4);
    late.AddKey(1, 6);
    EXPECT_EQ(late.Evaluate(0.25f), 4.0f);

    // Keys out of time order: before the earliest key its value holds, not the first one added.
    anKeyAnimation<float> unordered;
    unordered.AddKey(2, 8);
    unordered.AddKey(1, 2);
    EXPECT_EQ(unordered.Evaluate(0.5f), 2.0f);
    EXPECT_EQ(unordered.Evaluate(1.5f), 5.0f);
}

TEST(anKeyAnimation, ReplacedKeysAndScaling) {
    // The first key is replaced too, so the value before it is the replacement's.
    anKeyAnimation<float> a;
    a.AddKey(0.5f, 1);
    a.AddKey(1, 3);
    a.AddKey(0.5f, 5);
    a.AddKey(1, 9);
    EXPECT_EQ(a.Evaluate(0), 5.0f);
    EXPECT_EQ(a.Evaluate(0.75f), 7.0f);
    // The replaced keys stay hidden after scaling.
    a.ScaleTime(2);
    EXPECT_EQ(a.GetDuration(), 2.0f);
    EXPECT_EQ(a.Evaluate(1.5f), 7.0f);

    anKeyAnimation<g3dARGBColor> c;
    c.AddKey(0, {0, 0, 0, 0});
    c.AddKey(1.5f, {3, 6, 0, 1.5f});
    c.ScaleTime(2);
    EXPECT_EQ(c.GetDuration(), 3.0f);
    EXPECT_EQ(c.Evaluate(0).g, 0.0f);
    EXPECT_EQ(c.Evaluate(3).g, 6.0f);
    EXPECT_EQ(c.Evaluate(1.5f).r, 1.5f);

    anKeyAnimation<float> empty;
    empty.ScaleTime(2);
    EXPECT_EQ(empty.GetDuration(), -1.0f);
    EXPECT_EQ(empty.Evaluate(0), 0.0f);

    // A clone owns its keys.
    const auto clone = c.Clone();
    auto& cloned = dynamic_cast<anKeyAnimation<g3dARGBColor>&>(*clone);
    cloned.AddKey(0, {1, 1, 1, 1});
    EXPECT_EQ(c.Evaluate(0).r, 0.0f);
    EXPECT_EQ(cloned.Evaluate(0).r, 1.0f);
}

TEST(anKeyData, Evaluate) {
    anKeyData<maVector3d> positions;
    EXPECT_EQ(positions.Evaluate(1).x, 0.0f);
    positions.AddKey(0, {0, 2, -4});
    positions.AddKey(2, {4, 2, 0});
    const maVector3d p = positions.Evaluate(0.5f);
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 2.0f);
    EXPECT_EQ(p.z, -3.0f);
    // Key data has no duration: times beyond the last key are not mapped back.
    EXPECT_EQ(positions.Evaluate(9).x, 4.0f);
    positions.ScaleTime(0.5f);
    EXPECT_EQ(positions.Evaluate(0.5f).x, 2.0f);

    anKeyData<maRotation> rotations;
    EXPECT_EQ(rotations.Evaluate(0).w, 1.0f);
    rotations.AddKey(0, maRotation());
    rotations.AddKey(1, maRotation(0, 1, 0, 0));
    const maRotation q = rotations.Evaluate(0.5f);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.5f);
    EXPECT_EQ(q.z, 0.0f);
    EXPECT_EQ(q.w, 0.5f);

    anKeyData<maRotation> copy = rotations;
    copy.AddKey(0.5f, maRotation(1, 0, 0, 0));
    EXPECT_EQ(rotations.Evaluate(0.5f).y, 0.5f);
}
