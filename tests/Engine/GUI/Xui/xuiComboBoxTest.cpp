#include "Engine/GUI/Xui/xuiComboBox.h"
#include "../Gui/guiWidgetFixture.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiListBox.h"

// A text combo box 200 x 100: an edit field 20 high, a 20 x 20 button, a list of 20-pixel rows.
class xuiComboBoxTest : public guiWidgetTest {
  protected:
    void Build(i32 viewEdge, i32 buttonEdge) {
        combo = Add<xuiComboBoxText>();
        field = new guiEditField;
        field->SetSize(150, 20);
        field->GetCaret()->SetSize(2, 16);
        button = new guiButton;
        button->SetSize(20, 20);
        list = new guiListBox;
        list->SetRowHeight(20);
        for (const char* item : {"apple", "pear", "plum", "pear"})
            list->AppendRow(envString(item));
        combo->SetResults(field);
        combo->SetDropDown({buttonEdge, button});
        combo->SetScrollView({viewEdge, list});
        combo->SetSize(200, 100);
        combo->SetPosition({0.0f, 0.0f, 0.5f});
    }
    void Click(float x, float y) {
        Update(x, y, true);
        Update(x, y);
    }
    xuiComboBoxText* combo = nullptr;
    guiEditField* field = nullptr;
    guiButton* button = nullptr;
    guiListBox* list = nullptr;
};

TEST_F(xuiComboBoxTest, TheViewOpensBelowOrAboveTheResults) {
    using R = std::array<float, 4>;
    const struct {
        i32 view;
        i32 button;
        R results;
        R dropDown;
        R list;
    } cases[] = {
        {xuiComboBox::kBottom, xuiComboBox::kRight, {0, 0, 180, 20}, {180, 0, 20, 20}, {0, 20, 200, 80}},
        {xuiComboBox::kTop, xuiComboBox::kLeft, {20, 80, 180, 20}, {0, 80, 20, 20}, {0, 0, 200, 80}},
    };
    for (const auto& c : cases) {
        Build(c.view, c.button);
        EXPECT_EQ(Rect(*field), c.results);
        EXPECT_EQ(Rect(*button), c.dropDown);
        EXPECT_EQ(Rect(*list), c.list);
        EXPECT_EQ(list->GetVisibleRows(), 4);
    }
}

TEST_F(xuiComboBoxTest, TheButtonTogglesTheListAndTheFocusClosesIt) {
    Build(xuiComboBox::kBottom, xuiComboBox::kRight);
    Click(190, 10);
    EXPECT_TRUE(combo->IsOpen());
    EXPECT_TRUE(list->IsVisible());
    Click(190, 10);
    EXPECT_FALSE(combo->IsOpen());
    Click(190, 10);
    EXPECT_TRUE(combo->IsOpen());
    guiWindow::SetFocusWindow(guiWindowMgr::GetRoot());
    Update(500, 500);
    EXPECT_FALSE(combo->IsOpen());
    EXPECT_FALSE(list->IsEnabled());
}

TEST_F(xuiComboBoxTest, TheFieldAndTheListFollowEachOther) {
    Build(xuiComboBox::kBottom, xuiComboBox::kRight);
    Update(500, 500);
    EXPECT_TRUE(field->GetText() == envString("apple"));
    // A clicked item fills the field and closes the list.
    Click(190, 10);
    Click(50, 50);
    EXPECT_EQ(list->GetSelection(), 1);
    EXPECT_TRUE(field->GetText() == envString("pear"));
    EXPECT_FALSE(combo->IsOpen());
    const struct {
        const char* typed;
        i32 selection;
    } cases[] = {{"plum", 2}, {"pl", 2}, {"Apple", 2}, {"pear", 3}, {"apple", 0}};
    for (const auto& c : cases) {
        field->SetText(envString(c.typed));
        Update(500, 500);
        EXPECT_EQ(list->GetSelection(), c.selection) << c.typed;
    }
}
