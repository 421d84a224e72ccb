#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "guiWidgetFixture.h"

#include <cmath>
#include <memory>
#include <string>

// Two columns of 100 pixels, rows 20 high, four of them on view in a window 200 x 80 at the top left.
class guiTableBoxTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        table = Add<guiTableBox>();
        table->InsertColumn(0, 100);
        table->InsertColumn(1, 100);
        table->SetRowHeight(20);
        table->SetSize(200, 80);
        table->SetPosition({0.0f, 0.0f, 0.5f});
        table->SetCellTransparency(0.5f);
    }
    void Fill(i32 rows) {
        for (i32 r = 0; r < rows; ++r)
            table->SetCellText(r, 0, {envString(("row " + std::to_string(r)).c_str())}, 0);
    }
    // The rows whose first cell shows.
    std::vector<i32> Shown() const {
        std::vector<i32> rows;
        for (i32 r = 0; r < table->GetItemCount(); ++r)
            if (guiWindow* w = table->GetCellWindow(r, 0); w && w->IsVisible())
                rows.push_back(r);
        return rows;
    }
    void Click(float x, float y) {
        Update(x, y, true);
        Update(x, y, false);
    }
    guiTableBox* table = nullptr;
};

TEST_F(guiTableBoxTest, KeysScrollByWholeStepsOrNotAtAll) {
    const struct {
        i32 top;
        char16_t key;
        i32 expected;
        float fraction;
    } cases[] = {{4, 0xE01A, 4, 4.0f / 6}, {4, 0xE01C, 5, 5.0f / 6}, {4, 0xE017, 0, 0.0f},
                 {0, 0xE01B, 0, 0.0f},     {6, 0xE01C, 6, 1.0f},     {4, u'x', 4, 4.0f / 6}};
    Fill(10);
    for (const auto& c : cases) {
        table->SetVerticalScroll(0.0f);
        table->SetVerticalScroll(static_cast<float>(c.top) / 6.0f);
        ASSERT_EQ(table->GetTopRow(), c.top);
        appCharEvent event(c.key);
        table->OnChar(&event);
        EXPECT_EQ(table->GetTopRow(), c.expected) << c.top << " " << static_cast<i32>(c.key);
        EXPECT_FLOAT_EQ(table->GetVerticalScroll(), c.fraction);
    }
}

TEST_F(guiTableBoxTest, AFractionShowsItsRows) {
    Fill(10);
    table->SetVerticalScroll(1.0f);
    EXPECT_EQ(Shown(), (std::vector<i32>{6, 7, 8, 9}));
    table->SetVerticalScroll(0.5f);
    EXPECT_EQ(Shown(), (std::vector<i32>{3, 4, 5, 6}));
    EXPECT_EQ(table->GetCellWindow(4, 0)->GetPosition().y, 20.0f);
    table->SetVerticalScroll(std::nanf(""));
    EXPECT_EQ(table->GetTopRow(), 3);
    // Removing rows brings the top row back so that the window stays full.
    table->SetVerticalScroll(1.0f);
    for (i32 i = 0; i < 5; ++i)
        table->RemoveCells(0, -1);
    EXPECT_EQ(table->GetTopRow(), 1);
    EXPECT_EQ(Shown(), (std::vector<i32>{1, 2, 3, 4}));
    EXPECT_FLOAT_EQ(table->GetVerticalScroll(), 1.0f);
}

TEST_F(guiTableBoxTest, ShapeCallsOutsideTheTableAreRefused) {
    Fill(3);
    table->InsertRow(1000);
    EXPECT_EQ(table->GetItemCount(), 4);
    table->SetCellText(4, 1, {envString("appended")}, 0);
    EXPECT_EQ(table->GetItemCount(), 5);
    table->SetCellText(7, 0, {envString("far")}, 0);
    table->SetCellText(0, 2, {envString("wide")}, 0);
    table->RemoveCells(9, -1);
    table->RemoveCells(-1, 5);
    table->Select(5);
    EXPECT_EQ(table->GetItemCount(), 5);
    EXPECT_EQ(table->GetCellWindow(0, 2), nullptr);
    EXPECT_EQ(log.Count("**Warning**"), 5u);
    EXPECT_EQ(table->GetItemText(4).GetLength(), 0u);
    EXPECT_TRUE(table->GetItemText(0) == envString("row 0"));
    // A cell holding a window that is no text, and a table without columns, have no item text.
    auto foreign = std::make_unique<guiImage>();
    table->SetCellWindow(1, 0, foreign.get());
    EXPECT_EQ(table->GetItemText(1).GetLength(), 0u);
    // The window leaves the table with its cell and stays its owner's.
    table->RemoveCells(-1, 0);
    EXPECT_EQ(foreign->GetParent(), nullptr);
    table->RemoveCells(-1, 0);
    EXPECT_EQ(table->GetColumnWidth(0), 0);
    EXPECT_EQ(table->GetItemText(0).GetLength(), 0u);
    table->RemoveCells(-1, -1);
    EXPECT_EQ(table->GetItemCount(), 0);
    EXPECT_EQ(table->GetSelection(), -1);
}

TEST_F(guiTableBoxTest, RowHeightSetsTheRowsOnView) {
    Fill(1);
    EXPECT_TRUE(table->FitsVertically());
    table->SetRowHeight(0);
    EXPECT_EQ(table->GetVisibleRows(), 0);
    EXPECT_FALSE(table->FitsVertically());
    table->SetRowHeight(40);
    EXPECT_EQ(table->GetVisibleRows(), 2);
    // A text set in a table whose counts did not change still shows.
    table->SetCellText(0, 1, {envString("second")}, 0);
    EXPECT_TRUE(table->GetCellWindow(0, 1)->IsVisible());
    i32 w = 0, h = 0;
    table->GetCellWindow(0, 1)->GetSize(w, h);
    EXPECT_EQ(w * 1000 + h, 100040);
}

TEST_F(guiTableBoxTest, AClickSelectsARowOrACell) {
    Fill(4);
    table->Select(0);
    Click(150, 10);
    EXPECT_EQ(table->GetSelection(), 0);
    Click(50, 50);
    EXPECT_EQ(table->GetSelection(), 2);
    std::vector<i32> rows, columns;
    table->GetSelectedCells(rows, columns);
    EXPECT_EQ(rows, (std::vector<i32>{2, 2}));
    EXPECT_EQ(table->GetCellWindow(2, 0)->GetState(), guiTableBox::kSelectedState);
    table->SetCellSelection(true);
    Click(150, 70);
    rows.clear();
    columns.clear();
    table->GetSelectedCells(rows, columns);
    EXPECT_EQ(rows, (std::vector<i32>{3}));
    EXPECT_EQ(columns, (std::vector<i32>{1}));
    // Switching cell selection off widens the cell to its row.
    table->SetCellSelection(false);
    std::vector<guiWindow*> windows;
    table->GetSelectedWindows(windows);
    EXPECT_EQ(windows, (std::vector<guiWindow*>{table->GetCellWindow(3, 0)}));
}

TEST_F(guiTableBoxTest, TheWheelScrollsTheTableUnderThePointer) {
    Fill(10);
    const struct {
        float y;
        i32 notches;
        i32 expected;
    } cases[] = {{10, -2, 2}, {10, 1, 1}, {10, 5, 1}, {200, -1, 1}};
    for (const auto& c : cases) {
        Update(50, c.y);
        input.GetScript(0).mouse.z = c.notches * 120;
        Update(50, c.y);
        input.GetScript(0).mouse.z = 0;
        EXPECT_EQ(table->GetTopRow(), c.expected) << c.notches;
    }
}

TEST_F(guiTableBoxTest, DeferredFillingRunsOnePass) {
    const i32 before = table->GetVisibilityPassCount();
    table->SetDeferLayout(true);
    Fill(20);
    EXPECT_TRUE(Shown().empty());
    table->SetDeferLayout(false);
    EXPECT_EQ(table->GetVisibilityPassCount() - before, 1);
    EXPECT_EQ(Shown(), (std::vector<i32>{0, 1, 2, 3}));
}

// Cells draw only the state they show; a row scrolled into view, then selected, must show the text of
// each state it turns to at once, and a tinted row keeps its tint after it scrolled away and back.
TEST_F(guiTableBoxTest, ARowScrolledIntoViewShowsTheTextOfItsState) {
    const auto ink = [](const g3dMaterial* material) {
        const std::vector<u16> texels = Texels(*material->GetStage(0).texture);
        return std::count_if(texels.begin(), texels.end(), [](u16 texel) { return (texel >> 12) != 0; });
    };
    table->SetDeferLayout(true);
    for (i32 r = 0; r < 10; ++r) {
        table->SetCellText(r, 0, {envString("i")}, guiStateIdle);
        table->SetCellText(r, 0, {envString("WWWWWW")}, guiTableBox::kSelectedState);
    }
    table->GetCellWindow(8, 0)->SetColor({255, 0, 0}, guiStateIdle);
    table->SetDeferLayout(false);
    table->SetVerticalScroll(1.0f);
    table->SetVerticalScroll(0.0f);
    table->SetVerticalScroll(1.0f);
    auto* cell = static_cast<guiText*>(table->GetCellWindow(8, 0));
    ASSERT_TRUE(cell->IsEffectivelyVisible());
    EXPECT_FALSE(cell->guiMaterial::HasTexture(guiTableBox::kSelectedState));
    const auto idleInk = ink(guiWidgetTest::Shown(*cell));
    EXPECT_GT(idleInk, 0);
    EXPECT_EQ(cell->GetColor(guiStateIdle), (std::array<u8, 3>{255, 0, 0}));
    table->Select(8);
    EXPECT_EQ(cell->GetShownState(), guiTableBox::kSelectedState);
    EXPECT_GT(ink(guiWidgetTest::Shown(*cell)), 3 * idleInk);
}

// The chosen row keeps its chosen look wherever the pointer is on the row, lit where its texts have a
// look for that; away from the pointer it shows the plain chosen look.
TEST_F(guiTableBoxTest, AChosenRowStaysChosenUnderThePointer) {
    for (i32 r = 0; r < 2; ++r)
        for (const i32 state : {0, 1, guiTableBox::kSelectedState})
            table->SetCellText(r, 0, {envString("row")}, state);
    table->SetCellText(1, 0, {envString("row")}, guiTableBox::kSelectedOverState);
    const struct {
        i32 row;
        float x, y;
        i32 shown;
    } cases[] = {{0, 50, 10, guiTableBox::kSelectedState},
                 {0, 150, 10, guiTableBox::kSelectedState},
                 {1, 50, 30, guiTableBox::kSelectedOverState},
                 {1, 150, 30, guiTableBox::kSelectedOverState},
                 {1, 50, 70, guiTableBox::kSelectedState}};
    for (const auto& c : cases) {
        table->SetSelected(-1, -1, false);
        table->Select(c.row);
        Update(c.x, c.y);
        EXPECT_EQ(static_cast<guiText*>(table->GetCellWindow(c.row, 0))->GetShownState(), c.shown)
            << c.row << " at " << c.x << ", " << c.y;
    }
}
