#include "Engine/Core/Ma/maTestNear.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "guiTestFrame.h"

namespace {

using guiMouseButtonsTest = guiTestGui;
using B = guiMouseButtons;

} // namespace

TEST_F(guiMouseButtonsTest, ScriptedPollsGiveTheButtonEvents) {
    const struct {
        bool down;
        i32 event;
    } polls[] = {{false, B::None}, {true, B::Down}, {true, B::Held}, {false, B::Released}, {false, B::None}};
    for (const auto& p : polls) {
        Frame(0, 0, false, p.down);
        EXPECT_EQ(B::GetButtonEvent(1112), p.event) << p.down;
        EXPECT_EQ(B::GetButtonEvent(1111), B::None);
    }
}

TEST_F(guiMouseButtonsTest, ATakenPressStaysClaimedUntilItsClick) {
    guiTestWindow* w = Add("w");
    Update(10, 10, true);
    EXPECT_FALSE(B::IsUnclaimed(B::kMain));
    Update(500, 500, true); // dragged off, still held
    Frame(500, 500, true);
    B::ClearClaims();
    EXPECT_FALSE(B::IsUnclaimed(B::kMain)) << "handled until the click";
    Update(500, 500, false);
    Update(500, 500, false);
    EXPECT_TRUE(B::IsUnclaimed(B::kMain));
    EXPECT_FALSE(w->pressed);
    EXPECT_TRUE(B::IsUnclaimed(1234));
}

TEST_F(guiMouseButtonsTest, DoubleClicksNeedOneWindowWithinThreeQuartersOfASecond) {
    guiTestWindow a("a"), b("b");
    const struct {
        guiWindow* first;
        guiWindow* second;
        double apart;
        guiWindow* expect;
    } cases[] = {
        {&a, &a, 0.7, &a}, {&a, &a, 0.8, nullptr}, {&a, &b, 0.1, nullptr}, {nullptr, nullptr, 0.1, nullptr}};
    for (const auto& c : cases) {
        B::RecordClick(B::kMain, c.first);
        time.Advance(c.apart);
        B::RecordClick(B::kMain, c.second);
        EXPECT_EQ(B::GetDoubleClick(B::kMain), c.expect) << c.apart;
        B::ResetDoubleClick(B::kMain);
        EXPECT_EQ(B::GetDoubleClick(B::kMain), nullptr);
        time.Advance(5.0);
    }
}

TEST_F(guiMouseButtonsTest, ScreenConversions) {
    const struct {
        maVector3d pixels;
        maVector3d device;
    } cases[] = {
        {{0, 0, 0}, {-1.00125f, 1.0016667f, 0.0f}},
        {{400, 300, 1}, {-0.00125f, 0.0016667f, 0.5f}},
        {{800, 600, 2}, {0.99875f, -0.9983333f, 0.6666667f}},
    };
    for (const auto& c : cases) {
        ExpectNear(guiPixelsToDevice(c.pixels), c.device);
    }
    // No real screen yet: the point comes back as it was.
    EXPECT_FLOAT_EQ(guiScreenToGui({512, 384}).x, 512.0f);
    g2dRecordingText text;
    g2dSetTextService(&text);
    g2dScreen::InitWindowed(1024, 768, 0, 0);
    EXPECT_FLOAT_EQ(guiScreenToGui({512, 384}).x, 400.0f);
    EXPECT_FLOAT_EQ(guiScreenToGui({512, 384}).y, 300.0f);
    EXPECT_FLOAT_EQ(guiGuiToScreen({400, 300}).x, 512.0f);
    EXPECT_FLOAT_EQ(guiGuiToScreen({400, 300}).y, 384.0f);
    g2dScreen::Deinitialize();
    g2dSetTextService(nullptr);

    guiSetScreenSize(0, 600);
    guiSetScreenSize(800, -1);
    EXPECT_EQ(log.Count("refused"), 2u);
    i32 w = 0, h = 0;
    guiGetScreenSize(w, h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
}
