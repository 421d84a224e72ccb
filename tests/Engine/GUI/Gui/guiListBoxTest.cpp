#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "guiTextureCacheTest.h"
#include "guiWidgetFixture.h"

#include <string>

// Rows 20 high in a window 200 x 100: five on view.
class guiListBoxTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        list = Add<guiListBox>();
        list->SetRowHeight(20);
        list->SetSize(200, 100);
        list->SetPosition({0.0f, 0.0f, 0.5f});
    }
    void Fill(i32 rows) {
        for (i32 r = 0; r < rows; ++r)
            list->AppendRow(envString(("row " + std::to_string(r)).c_str()));
    }
    void Key(char16_t key) {
        appCharEvent event(key);
        list->OnChar(&event);
    }
    guiListBox* list = nullptr;
};

TEST_F(guiListBoxTest, KeysMoveTheSelectionAndKeepItInView) {
    const struct {
        i32 from;
        char16_t key;
        i32 selection;
        i32 top;
    } cases[] = {{4, 0xE01C, 5, 1}, {17, 0xE01A, 19, 15}, {19, 0xE01C, 19, 15},
                 {2, 0xE017, 0, 0}, {3, 0xE01B, 2, 0},    {3, u'a', 3, 0}};
    Fill(20);
    for (const auto& c : cases) {
        list->SetVerticalScroll(0.0f);
        list->Select(c.from);
        Key(c.key);
        EXPECT_EQ(list->GetSelection(), c.selection) << c.from;
        EXPECT_EQ(list->GetTopRow(), c.top) << c.from;
        EXPECT_EQ(list->GetRow(c.top)->GetPosition().y, 0.0f);
        EXPECT_TRUE(list->GetRow(c.top)->IsVisible());
    }
    list->SetVerticalScroll(0.0f);
    list->Select(4);
    Key(0xE01C);
    EXPECT_FLOAT_EQ(list->GetVerticalScroll(), 1.0f / 15.0f);
    EXPECT_FALSE(list->GetRow(0)->IsVisible());
}

TEST_F(guiListBoxTest, TheSelectionFollowsInsertsAndRemovals) {
    list->Select(3);
    EXPECT_EQ(list->GetSelection(), -1);
    list->AppendRow(envString("first"));
    EXPECT_EQ(list->GetSelection(), 0);
    list->InsertRow(-7, envString("zero"));
    list->InsertRow(99, envString("last"));
    EXPECT_EQ(list->GetSelection(), 0);
    EXPECT_TRUE(list->GetItemText(0) == envString("zero"));
    EXPECT_TRUE(list->GetItemText(2) == envString("last"));
    EXPECT_EQ(list->GetItemText(3).GetLength(), 0u);
    list->RemoveRow(5);
    list->RemoveRow(-1);
    EXPECT_EQ(list->GetItemCount(), 3);
    list->Select(2);
    list->RemoveRow(2);
    EXPECT_EQ(list->GetSelection(), 1);
    EXPECT_TRUE(list->GetHighlight()->GetText()->GetText(4) == envString("first"));
    list->SetVerticalScroll(0.5f);
    list->RemoveAllRows();
    EXPECT_EQ(list->GetSelection(), -1);
    EXPECT_EQ(list->GetVerticalScroll(), 0.0f);
}

TEST_F(guiListBoxTest, TheWheelAndClicksActOnTheRowsOnView) {
    Fill(20);
    list->SetVerticalScroll(5.0f / 15.0f);
    ASSERT_EQ(list->GetTopRow(), 5);
    list->Select(5);
    Update(50, 10);
    input.GetScript(0).mouse.z = 120;
    Update(50, 10);
    input.GetScript(0).mouse.z = 0;
    EXPECT_EQ(list->GetTopRow(), 4);
    // The highlight sits on row 5, now second on view: clicking it changes nothing, row 6 is taken.
    Update(50, 30, true);
    Update(50, 30);
    EXPECT_EQ(list->GetSelection(), 5);
    Update(50, 50, true);
    Update(50, 50);
    EXPECT_EQ(list->GetSelection(), 6);
    EXPECT_EQ(list->GetHighlight()->GetPosition().y, 40.0f);
}

TEST_F(guiListBoxTest, RowsTakeTheTemplatesLooksThroughTheCache) {
    guiCountingLoader loader;
    fsLocator file;
    file.AppendComponent("row.png");
    guiButton& form = *list->GetRowTemplate();
    form.GetImage()->SetImage(file, 1);
    form.GetImage()->SetColor({10, 20, 30}, 1);
    form.GetText()->SetTextColor({200, 0, 0}, 3);
    form.SetTextPositioning(guiButton::TextRight);
    // Hidden, so that no text is drawn while the loader stands in for the texture manager.
    list->SetVisible(false);
    Fill(3);
    const guiButton& row = *list->GetRow(2);
    EXPECT_EQ(loader.plainLoads, 1);
    EXPECT_EQ(row.GetImage()->GetColor(1), (std::array<u8, 3>{10, 20, 30}));
    EXPECT_FALSE(row.GetImage()->HasStateMaterial(2));
    EXPECT_TRUE(row.GetText()->GetText(3) == envString("row 2"));
    EXPECT_EQ(row.GetText()->GetTextColor(3), (g3dTextColour{200, 0, 0}));
    EXPECT_EQ(row.GetTextPositioning(), guiButton::TextRight);
    // The rows' uses are counted: the texture stays while the template holds it.
    list->RemoveAllRows();
    EXPECT_EQ(loader.LiveCount(), 1u);
    guiWindowMgr::GetRoot()->RemoveAndDeleteChild(list);
    EXPECT_EQ(loader.LiveCount(), 0u);
}
