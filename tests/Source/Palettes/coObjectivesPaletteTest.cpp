#include "Source/Palettes/coObjectivesPalette.h"

#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Source/Screens/coScreenTestKit.h"

#include <string>

namespace {

struct coObjectivesPaletteTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        palette = new coObjectivesPalette;
        guiWindowMgr::AddWindow(palette);
    }
    i32 Rows() const {
        i32 rows = 0, columns = 0;
        palette->GetObjectivesBox()->GetDimensions(rows, columns);
        return rows;
    }
    const guiText* Cell(i32 row) const {
        return dynamic_cast<const guiText*>(palette->GetObjectivesBox()->GetCellWindow(row, 0));
    }
    f32 X() const { return palette->GetPosition().x; }
    coObjectivesPalette* palette = nullptr;
};

TEST_F(coObjectivesPaletteTest, RowsAppendOneAtATimeInRedAndGreen) {
    palette->SetObjective(3, envString("Reach 40 mph"), false);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0)->GetText(0), envString("Reach 40 mph"));
    EXPECT_EQ(Cell(0)->GetDefaultColor(), (g3dTextColour{255, 0, 0}));
    palette->SetObjective(0, envString("Reach 40 mph"), true);
    EXPECT_EQ(Cell(0)->GetDefaultColor(), (g3dTextColour{0, 255, 0}));

    // The same text and colour again draws nothing.
    const size_t drawn = d3d.GetLog().size();
    palette->SetObjective(0, envString("Reach 40 mph"), true);
    EXPECT_EQ(d3d.GetLog().size(), drawn);
    palette->SetObjective(0, envString("Reach 40 mph"), false);
    EXPECT_EQ(Cell(0)->GetDefaultColor(), (g3dTextColour{255, 0, 0}));

    palette->SetObjective(1, envString("Two loops"), false);
    EXPECT_EQ(Rows(), 2);
    palette->ClearObjectives();
    EXPECT_EQ(Rows(), 0);
}

TEST_F(coObjectivesPaletteTest, TabKeyAndCollapseSlideThePanel) {
    EXPECT_EQ(X(), 0.0f);
    // The tab slides it out, so collapsing finds it away and expanding finds nothing collapsed.
    PointerFrame(palette->GetTab(), true);
    PointerFrame(palette->GetTab(), false);
    EXPECT_EQ(X(), coObjectivesPalette::kCollapsedX);
    palette->SetCollapsed(true);
    palette->SetCollapsed(false);
    EXPECT_EQ(X(), coObjectivesPalette::kCollapsedX);

    PointerFrame(guiWindowMgr::GetRoot(), false);
    input.GetScript(1).keys[plDik::O] = 0x80; // key 14
    inDeviceManager::PollAll();
    input.GetScript(1).keys[plDik::O] = 0;
    inDeviceManager::PollAll();
    palette->Think();
    EXPECT_EQ(X(), 0.0f);

    palette->SetCollapsed(true);
    EXPECT_EQ(X(), coObjectivesPalette::kCollapsedX);
    palette->SetCollapsed(false);
    EXPECT_EQ(X(), 0.0f);
}

// Nine rows (a title and eight objectives) are more than the list shows: it starts at its top, the
// slider beside it scrolls it, and a new mission starts at the top again.
TEST_F(coObjectivesPaletteTest, MoreRowsThanShownScrollFromTheTop) {
    for (i32 row = 0; row < 9; ++row)
        palette->SetObjective(row, envString(("Objective " + std::to_string(row)).c_str()), false);
    guiTableBox& box = *palette->GetObjectivesBox();
    auto* slider = dynamic_cast<guiSlider*>(palette->GetScrollBox()->FindChild("ObjectivesSlider"));
    ASSERT_NE(slider, nullptr);
    PointerFrame(guiWindowMgr::GetRoot(), false);
    PointerFrame(guiWindowMgr::GetRoot(), false);
    EXPECT_EQ(box.GetVisibleRows(), 4);
    EXPECT_EQ(box.GetTopRow(), 0);
    EXPECT_TRUE(slider->IsEffectivelyVisible());
    // Beside the list, where the tab at its top right covers neither.
    i32 width = 0, height = 0;
    slider->GetSize(width, height);
    EXPECT_LE(slider->GetPosition().x + static_cast<f32>(width), box.GetPosition().x);
    // The slider dragged to its bottom shows the last rows.
    slider->SetValue(0.0f);
    PointerFrame(guiWindowMgr::GetRoot(), false);
    EXPECT_EQ(box.GetTopRow(), 5);
    palette->ClearObjectives();
    palette->SetObjective(0, envString("Close the circuit"), false);
    PointerFrame(guiWindowMgr::GetRoot(), false);
    PointerFrame(guiWindowMgr::GetRoot(), false);
    EXPECT_EQ(box.GetTopRow(), 0);
    EXPECT_FALSE(slider->IsEffectivelyVisible());
}

TEST_F(coObjectivesPaletteTest, TheHintKeyLine) {
    const guiText& hintKey = *palette->GetHintKey();
    EXPECT_FALSE(hintKey.IsEffectivelyVisible());
    palette->ShowHintKey(true);
    EXPECT_TRUE(hintKey.IsEffectivelyVisible());
    EXPECT_EQ(hintKey.GetText(0), envString("Press P for a hint"));
}

} // namespace
