#include "Engine/GUI/Gui/guiContainer.h"
#include "guiTestFrame.h"

#include <memory>

namespace {

std::unique_ptr<guiContainer> Screen(i32 w = 800, i32 h = 600, maVector3d at = {0.0f, 0.0f, 1.0f}) {
    auto screen = std::make_unique<guiContainer>();
    screen->SetSize(w, h);
    screen->SetPosition(at);
    return screen;
}

} // namespace

TEST(guiWindowTest, JustificationPlacesTheWindowInItsParent) {
    const struct {
        i32 horizontal, vertical;
        float x, y;
        float expectX, expectY;
    } cases[] = {
        {guiJustifyLeft, guiJustifyTop, 10, 20, 10, 20},   {guiJustifyRight, guiJustifyTop, 10, 0, 690, 0},
        {guiJustifyCenter, guiJustifyTop, 10, 0, 360, 0},  {guiJustifyLeft, guiJustifyBottom, 0, 10, 0, 540},
        {guiJustifyLeft, guiJustifyCenter, 0, 10, 0, 285},
    };
    for (const auto& c : cases) {
        auto screen = Screen();
        auto* w = new guiTestWindow("w", {c.x, c.y, 1.0f}, 100, 50);
        w->SetJustification(c.horizontal, c.vertical);
        screen->AddChild(w);
        const maVector3d at = w->GetWorldMatrix().GetTranslation();
        EXPECT_FLOAT_EQ(at.x, c.expectX) << c.horizontal << " " << c.vertical;
        EXPECT_FLOAT_EQ(at.y, c.expectY) << c.horizontal << " " << c.vertical;
        EXPECT_FALSE(w->IsDepthDirty());
    }
    // Without a parent the justification does nothing.
    guiTestWindow alone("alone", {10, 10, 1.0f});
    alone.SetJustification(guiJustifyRight, guiJustifyBottom);
    EXPECT_FLOAT_EQ(alone.GetWorldMatrix().GetTranslation().x, 10.0f);
}

TEST(guiWindowTest, SizeScalesTheQuadAndAParentPassesItsPlaceButNotItsScale) {
    auto screen = Screen(400, 300, {100, 50, 1.0f});
    auto* child = new guiTestWindow("child", {10, 20, 1.0f}, 100, 50);
    screen->AddChild(child);
    EXPECT_FLOAT_EQ(child->GetScale().x, 0.25125f);
    EXPECT_FLOAT_EQ(child->GetScale().y, 0.16833334f);
    const maMatrix4d& m = child->GetWorldMatrix();
    EXPECT_FLOAT_EQ(m.m[12], 110.0f);
    EXPECT_FLOAT_EQ(m.m[13], 70.0f);
    EXPECT_FLOAT_EQ(m.m[0], 0.25125f);
    EXPECT_FLOAT_EQ(m.m[5], 0.16833334f);
    // A layout's negative size would mirror the quad: it counts as 0.
    child->SetSize(-20, -1);
    i32 w = -1, h = -1;
    child->GetSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_FLOAT_EQ(child->GetScale().x, 1.0f / 800.0f);
    EXPECT_FLOAT_EQ(child->GetScale().y, 1.0f / 600.0f);
    child->SetSize(INT32_MAX, INT32_MAX);
    EXPECT_FLOAT_EQ(child->GetScale().x, 4294967296.0f / 800.0f);
}

TEST(guiWindowTest, EnabledStatesDepthDirtAndVisibility) {
    guiTestWindow w("w");
    w.SetState(guiStateOver);
    w.SetEnabled(true);
    EXPECT_EQ(w.GetState(), guiStateOver);
    w.SetEnabled(false);
    EXPECT_EQ(w.GetState(), guiStateDisabled);
    w.SetEnabled(true);
    EXPECT_EQ(w.GetState(), guiStateIdle);

    w.SetPosition({5, 6, 1.0f});
    EXPECT_FALSE(w.IsDepthDirty());
    w.SetPosition({5, 6, 0.5f});
    EXPECT_TRUE(w.IsDepthDirty());
    w.SetDrawDepth(7);
    EXPECT_FALSE(w.IsDepthDirty());
    EXPECT_EQ(w.GetDrawStamp(), 7);
    w.SetPosition({50, 60, 0.5f}); // the stamp stays in place of z
    EXPECT_EQ(w.GetDrawStamp(), 7);

    auto screen = Screen();
    screen->SetVisible(false);
    auto* child = new guiTestWindow("child");
    screen->AddChild(child);
    EXPECT_TRUE(child->IsVisible());
    EXPECT_FALSE(child->IsEffectivelyVisible());
    screen->SetVisible(true);
    EXPECT_TRUE(child->IsEffectivelyVisible());
}
