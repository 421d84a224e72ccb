#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "guiWidgetFixture.h"

TEST_F(guiWidgetTest, ACheckBoxTogglesOnEveryClickAndShowsItsCheckedStates) {
    auto* box = Add<guiCheckbox>();
    box->SetSize(40, 40);
    const struct {
        bool down;
        bool checked;
        i32 state;
    } steps[] = {{false, false, 1}, {true, false, 3}, {false, true, 8},  {false, true, 7},
                 {true, true, 9},   {true, true, 10}, {false, false, 2}, {false, false, 1}};
    for (const auto& s : steps) {
        Update(10, 10, s.down);
        EXPECT_EQ(box->IsChecked(), s.checked);
        EXPECT_EQ(box->GetState(), s.state);
        EXPECT_EQ(box->GetImage()->GetState(), s.state);
    }
    box->Increase();
    Update(100, 100);
    EXPECT_EQ(box->GetState(), 6);
    box->Decrease();
    Update(100, 100);
    EXPECT_EQ(box->GetState(), 0);

    // A disabled box does not think, yet shows its flag; enabled again it is idle.
    box->SetChecked(true);
    box->SetEnabled(false);
    EXPECT_EQ(box->GetImage()->GetState(), 11);
    box->SetChecked(false);
    EXPECT_EQ(box->GetImage()->GetState(), guiStateDisabled);
    box->SetChecked(true);
    box->SetEnabled(true);
    Update(100, 100);
    EXPECT_EQ(box->GetState(), 6);
}

// Three boxes stacked in a 100-pixel group at (0, 0) with spacing 5.
class guiRadioGroupTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        group = Add<guiRadioGroup>();
        for (i32 i = 0; i < 3; ++i)
            group->AddButton(new guiCheckbox);
        group->SetSize(80, 100);
        group->SetSpacing(5);
        group->SetAutoSizing(true);
        group->SetAutoPositioning(true);
        Update(500, 500);
    }
    bool Checked(i32 i) const {
        return dynamic_cast<guiCheckbox*>(group->FindChild(("RadioButton" + std::to_string(i)).c_str()))
            ->IsChecked();
    }
    guiRadioGroup* group = nullptr;
};

TEST_F(guiRadioGroupTest, AutoLayoutStacksEqualButtonsFromTheFirst) {
    for (i32 i = 0; i < 3; ++i) {
        const auto* button = group->GetChild(i);
        i32 w = 0, h = 0;
        button->GetSize(w, h);
        EXPECT_EQ(h, 30) << i;
        EXPECT_EQ(button->GetPosition().y, 35.0f * static_cast<float>(i)) << i;
    }
}

TEST_F(guiRadioGroupTest, ExactlyOneButtonStaysChecked) {
    EXPECT_TRUE(Checked(0));
    // A click on the third box (y 70..99) selects it; a click on the selected one keeps it.
    for (i32 pass = 0; pass < 2; ++pass) {
        Update(10, 80, true);
        Update(10, 80, false);
        EXPECT_EQ(group->GetSelection(), 2);
        EXPECT_TRUE(!Checked(0) && !Checked(1) && Checked(2));
    }
    EXPECT_EQ(group->GetSelectedButton(), group->FindChild("RadioButton2"));
    for (i32 index : {2, -1, 3})
        group->SetSelection(index);
    EXPECT_EQ(group->GetSelection(), 2);
    group->SetStep(2);
    group->Decrease();
    EXPECT_EQ(group->GetSelection(), 0);
    group->Decrease();
    EXPECT_EQ(group->GetSelection(), 0);
    group->SelectByName("RadioButton1");
    group->SelectByName("nobody");
    EXPECT_EQ(group->GetSelection(), 1);
    EXPECT_TRUE(!Checked(0) && Checked(1) && !Checked(2));
}

TEST_F(guiWidgetTest, AnEmptyRadioGroupHasNoSelectedButton) {
    auto* group = Add<guiRadioGroup>();
    group->SetAutoSizing(true);
    group->SetAutoPositioning(true);
    group->SetSize(80, 100);
    Update(10, 10, true);
    group->Increase();
    EXPECT_EQ(group->GetSelection(), 0);
    EXPECT_EQ(group->GetSelectedButton(), nullptr);
}
