#include "Source/Scene/coObject.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Answers every ray with its scripted hit, or a miss.
struct ScriptedObject : coObject {
    maBoundingBox GetBoundingBox() const override { return {}; }
    std::optional<f32> hit;
    explicit ScriptedObject(std::optional<f32> at = std::nullopt) : hit(at) {}
    bool RayTest(const maVector3d&, const maVector3d&, f32& t) const override {
        if (hit)
            t = *hit;
        return hit.has_value();
    }
};

// Leaves the registry during exit, after the other statics are gone; enabled only in its own test, so
// that the picks of the other tests in this program do not see it.
struct OutlivesMain : ScriptedObject {
    OutlivesMain() : ScriptedObject(0.5f) { SetEnabled(false); }
};
OutlivesMain s_outlivesMain;

} // namespace

TEST(coObjectTest, PickTheNearestEnabledHitBelowTheReach) {
    const maVector3d origin(0, 0, 0), direction(0, 0, 1);
    const u32 before = coGetObjectCount();
    f32 t = -1.0f;
    {
        ScriptedObject atReach(2.0f), beyond(7.0f), missing;
        EXPECT_EQ(coGetObjectCount(), before + 3);
        EXPECT_EQ(coPickObject(origin, direction, t), nullptr);
        EXPECT_EQ(t, -1.0f);

        ScriptedObject disabled(0.1f), first(1.5f), tie(1.5f), farther(1.9f);
        disabled.SetEnabled(false);
        EXPECT_EQ(coPickObject(origin, direction, t), &first);
        EXPECT_EQ(t, 1.5f);
        first.SetEnabled(false);
        EXPECT_EQ(coPickObject(origin, direction, t), &tie);
    }
    EXPECT_EQ(coGetObjectCount(), before);
    s_outlivesMain.SetEnabled(true);
    EXPECT_EQ(coPickObject(origin, direction, t), &s_outlivesMain);
    s_outlivesMain.SetEnabled(false);
}
