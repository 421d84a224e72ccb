#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "guiTestFrame.h"

#include <string>

namespace {

// Every character 5 pixels wide in a cell 12 high; nothing is drawn.
class BoxFonts : public plFontRasterizer {
  public:
    plFontHandle CreateFont(const std::string&, i32) override { return 1; }
    void DeleteFont(plFontHandle) override {}
    bool MeasureText(plFontHandle, std::u16string_view text, u32& width, u32& height) override {
        width = 5 * static_cast<u32>(text.size());
        height = 12;
        return true;
    }
    void DrawText(plFontHandle, std::u16string_view, i32, i32, u32*, u32, u32) override {}
};

// The tooltip with the game's layout (12, 35, 3) on the fake device; a window at (100, 100) of 200 x 100.
class guiToolTipTest : public guiTestGui {
  protected:
    void SetUp() override {
        guiTestGui::SetUp();
        StartScreen(fonts);
        guiToolTip::Create();
        guiToolTip::SetLayout(12, 35, 3);
        tipped = Add("tipped", maVector3d{100.0f, 100.0f, 1.0f}, 200, 100);
    }
    void TearDown() override {
        guiToolTip::Destroy();
        guiWindowMgr::GetRoot()->DeleteAllChildren();
        g3dStopTestScreen();
        guiTestGui::TearDown();
    }

    // A GUI frame with the pointer there, then the tooltip's step at the time.
    void At(f32 now, f32 x, f32 y) {
        Update(x, y);
        guiToolTip::Update(now);
    }
    static bool Shown() { return guiToolTip::GetImage()->IsEffectivelyVisible(); }
    static std::pair<f32, f32> Place() {
        const maVector3d at = guiToolTip::GetImage()->GetParent()->GetPosition();
        return {at.x, at.y};
    }

    BoxFonts fonts;
    guiTestWindow* tipped = nullptr;
};

TEST_F(guiToolTipTest, ShowsAfterASecondOfRestSizedToItsLines) {
    tipped->SetToolTipText(envString("aaaaaaaa\naaaaaaaaaaaa\n"));
    At(1.0f, 10, 10);
    const struct {
        f32 now;
        bool shown;
    } steps[] = {{1.25f, false}, {1.5f, false}, {1.75f, false}, {2.0f, false}, {2.25f, true}};
    for (const auto& step : steps) {
        At(step.now, 120, 110);
        EXPECT_EQ(Shown(), step.shown) << step.now;
    }
    i32 w = 0, h = 0;
    guiToolTip::GetImage()->GetSize(w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(65, 29));
    guiToolTip::GetText()->GetSize(w, h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(60, 24));
    f32 u = 0, v = 0;
    guiToolTip::GetText()->GetTile(u, v, guiStateIdle);
    EXPECT_EQ(std::make_pair(u, v), std::make_pair(0.25390625f, 0.2265625f));
    EXPECT_EQ(Place(), std::make_pair(132.0f, 145.0f));
    // The pointer leaving hides it.
    At(2.5f, 10, 10);
    EXPECT_FALSE(Shown());
    // A tip wider than its texture gets a texture that holds it, rather than a tiling that repeats its start.
    tipped->SetToolTipText(envString(std::u16string(60, u'a').c_str()));
    for (f32 now : {3.0f, 3.25f, 4.5f})
        At(now, 120, 110);
    ASSERT_TRUE(Shown());
    guiToolTip::GetText()->GetTile(u, v, guiStateIdle);
    EXPECT_LE(u, 1.0f);
    EXPECT_LE(v, 1.0f);
}

TEST_F(guiToolTipTest, OnlyAWindowWithTextInStateOverShowsItAndHideStartsAfresh) {
    auto* other = Add("other", maVector3d{400.0f, 100.0f, 1.0f}, 100, 100);
    tipped->SetToolTipText(envString("tip"));
    other->SetToolTipNum(7);
    At(1.0f, 120, 110);
    At(1.5f, 120, 110);
    // Moving to a second window restarts the delay there; its empty text never shows.
    At(2.0f, 420, 110);
    At(5.0f, 420, 110);
    EXPECT_FALSE(Shown());
    other->SetToolTipText(envString("other"));
    At(5.5f, 420, 110);
    EXPECT_FALSE(Shown());
    At(6.0f, 420, 110);
    EXPECT_TRUE(Shown());
    // A press leaves state Over.
    Frame(420, 110, true);
    guiWindowMgr::Update();
    guiToolTip::Update(7.0f);
    EXPECT_FALSE(Shown());

    // After Hide the first update only starts the clock again, and 0 counts as no update.
    guiToolTip::Hide();
    At(0.0f, 420, 110);
    At(20.0f, 420, 110);
    At(20.5f, 420, 110);
    At(21.25f, 420, 110);
    EXPECT_FALSE(Shown());
    At(21.5f, 420, 110);
    EXPECT_TRUE(Shown());
}

// A box that opens over the pointer's window takes the input; the tip shown over that window goes with it.
TEST_F(guiToolTipTest, AModalBoxHidesIt) {
    tipped->SetToolTipText(envString("tip"));
    for (f32 now : {1.0f, 1.5f, 2.75f})
        At(now, 120, 110);
    ASSERT_TRUE(Shown());
    auto* box = Add("box", maVector3d{300.0f, 300.0f, 1.0f}, 100, 100);
    guiWindowMgr::PushModal(box);
    EXPECT_FALSE(Shown());
    guiWindowMgr::ForgetModal(box);
}

// Scripts give the tip to the button, while the pointer is over its image or text.
TEST_F(guiToolTipTest, AButtonsTipServesItsChildren) {
    auto* button = Add<guiButton>();
    button->SetPosition({400.0f, 300.0f, 1.0f});
    button->SetSize(100, 40);
    button->SetToolTipText(envString("Save the coaster"));
    At(1.0f, 410, 310);
    At(1.5f, 410, 310);
    At(2.5f, 410, 310);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(guiToolTip::GetText()->GetText(guiStateIdle), envString("Save the coaster"));
}

TEST_F(guiToolTipTest, StaysOnTheScreenAtTheRightAndFlipsAboveAtTheBottom) {
    tipped->SetSize(800, 600);
    tipped->SetPosition({0.0f, 0.0f, 1.0f});
    const struct {
        const char* text;
        f32 x, y;
        std::pair<f32, f32> place;
    } cases[] = {
        {"aaaaaaaaaaaaaaaaaaa", 750, 100, {700, 135}},    // 95 wide text, 100 wide box at the right edge
        {"aaaaaaaa\naaaaaaaaaaaa", 100, 580, {112, 554}}, // 29 high box at the bottom: above the pointer
        {"aaaaaaaa\naaaaaaaaaaaa", 100, 536, {112, 510}}, // 536 + 35 + 29 reaches the bottom
        {"aaaaaaaa\naaaaaaaaaaaa", 100, 535, {112, 570}}, // one pixel above it
    };
    for (const auto& c : cases) {
        tipped->SetToolTipText(envString(c.text));
        guiToolTip::Hide();
        At(1.0f, c.x, c.y);
        At(1.5f, c.x, c.y);
        At(2.5f, c.x, c.y);
        EXPECT_TRUE(Shown()) << c.text;
        EXPECT_EQ(Place(), c.place) << c.text << " at " << c.x << ", " << c.y;
    }
}

TEST(guiToolTipWithoutWindow, EveryCallDoesNothing) {
    guiToolTip::Update(1.0f);
    guiToolTip::Update(3.0f);
    guiToolTip::Hide();
    guiToolTip::Destroy();
    EXPECT_EQ(guiToolTip::GetImage(), nullptr);
    EXPECT_EQ(guiToolTip::GetText(), nullptr);
}

} // namespace
