#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "guiWidgetFixture.h"

class guiButtonTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        button = new guiButton;
        guiWindowMgr::AddWindow(button);
        button->SetSize(100, 40);
    }
    guiButton* button = nullptr;
};

TEST_F(guiButtonTest, AClickIsReleasedForOneUpdate) {
    const struct {
        bool down;
        i32 state;
    } steps[] = {{false, guiStateOver},
                 {true, guiStatePressed},
                 {true, guiStateHeld},
                 {false, guiStateReleased},
                 {false, guiStateOver}};
    for (const auto& step : steps) {
        Update(10, 10, step.down);
        EXPECT_EQ(button->GetState(), step.state);
        EXPECT_EQ(button->GetImage()->GetState(), step.state);
        EXPECT_EQ(button->GetText()->GetState(), step.state);
    }
    // A disabled text defers to the image, which the pointer does not reach here.
    button->GetText()->SetEnabled(false);
    button->GetImage()->SetSize(10, 10);
    Update(50, 30);
    EXPECT_EQ(button->GetState(), guiStateIdle);
    EXPECT_EQ(button->GetText()->GetState(), guiStateIdle);
    button->SetState(8);
    EXPECT_EQ(button->GetImage()->GetState() * 10 + button->GetText()->GetState(), 88);
}

TEST_F(guiButtonTest, TheTextPositioningPlacesTheChildren) {
    button->SetLayout(0.5f, 1.0f, 0.3f, 0.25f);
    button->SetSize(101, 40);
    i32 w = 0, h = 0;
    button->GetImage()->GetSize(w, h);
    EXPECT_EQ(w, 50);
    button->GetText()->GetSize(w, h);
    EXPECT_EQ(w * 100 + h, 30 * 100 + 10);
    // Shares beyond any size give the largest size, negative ones none.
    button->SetLayout(1e9f, -2.0f, 0.3f, 0.25f);
    button->GetImage()->GetSize(w, h);
    EXPECT_EQ(w, 2147483520);
    EXPECT_EQ(h, 0);
    button->SetLayout(0.5f, 1.0f, 0.3f, 0.25f);
    struct Case {
        i32 positioning;
        maVector3d image, text;
    };
    // Image 50 x 40, text 30 x 10; every case starts with both at the origin.
    const Case cases[] = {
        {0, {0, 0, 1.0f}, {0, 0, 0.5f}},   {1, {0, 10, 1.0f}, {0, 0, 0.99f}},
        {2, {0, 0, 1.0f}, {50, 0, 0.99f}}, {3, {0, 0, 1.0f}, {0, 40, 0.99f}},
        {4, {30, 0, 1.0f}, {0, 0, 0.99f}},
    };
    for (const Case& c : cases) {
        button->GetImage()->SetPosition({0, 0, 1.0f});
        button->GetText()->SetPosition({0, 0, 0.5f});
        button->SetTextPositioning(c.positioning);
        button->SetSize(101, 40);
        const maVector3d image = button->GetImage()->GetPosition();
        const maVector3d text = button->GetText()->GetPosition();
        EXPECT_TRUE(image.x == c.image.x && image.y == c.image.y && image.z == c.image.z) << c.positioning;
        EXPECT_TRUE(text.x == c.text.x && text.y == c.text.y && text.z == c.text.z) << c.positioning;
    }
}
