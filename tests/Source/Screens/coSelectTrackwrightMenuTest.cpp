#include "Source/Screens/coSelectTrackwrightMenu.h"

#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "coScreenTestKit.h"

namespace {

using coSelectTrackwrightMenuTest = coScreenTest;

std::string CellText(const coSelectTrackwrightMenu& menu, i32 row, i32 column) {
    const auto* text = dynamic_cast<const guiText*>(menu.GetTable()->GetCellWindow(row, column));
    return text ? envStringToNarrow(text->GetText(0)) : "<none>";
}

TEST_F(coSelectTrackwrightMenuTest, NoProfiles) {
    saves.MakeFolder("Track Color Preference Settings");
    saves.MakeFolder("Directory For Unlocked Props");
    coSelectTrackwrightMenu menu;
    EXPECT_EQ(menu.GetProfileCount(), 0);
    EXPECT_FALSE(menu.FindChild("Load Trackwright")->IsEnabled());
    EXPECT_EQ(envStringToNarrow(menu.GetSelectedName()), "");
}

TEST_F(coSelectTrackwrightMenuTest, ProfilesWithTheirRankingInFolderOrder) {
    const std::string wide = "Wilhelmina Augusta Ravenscroft-Featherstonehaugh";
    for (const std::string& name : {std::string("Ann"), std::string("Damaged"), wide})
        saves.MakeFolder(name);
    saves.Write("Damaged/SaveFile.isf", "KSFB\x02\x01garbage");
    coSelectTrackwrightMenu menu;
    ASSERT_EQ(menu.GetProfileCount(), 3);
    EXPECT_TRUE(menu.FindChild("Load Trackwright")->IsEnabled());
    EXPECT_EQ(menu.GetTable()->GetVisibleRows(), 15);
    EXPECT_EQ(CellText(menu, 0, 0), "Ann");
    // A damaged save still gives its row, unranked.
    EXPECT_EQ(CellText(menu, 1, 1), "Novice");
    // Each column's text texture is as wide as the column, so the texts show 1:1.
    for (const i32 column : {0, 1}) {
        i32 width = 0, height = 0;
        dynamic_cast<const guiText*>(menu.GetTable()->GetCellWindow(1, column))
            ->GetTextureSize(width, height);
        EXPECT_EQ(width, menu.GetTable()->GetColumnWidth(column)) << column;
    }
    const std::string shown = CellText(menu, 2, 0);
    EXPECT_LT(shown.size(), wide.size());
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_EQ(wide.rfind(shown.substr(0, shown.size() - 3), 0), 0u);
    menu.GetTable()->SetSelected(-1, -1, false);
    menu.GetTable()->SetSelected(2, 0, true);
    EXPECT_EQ(envStringToNarrow(menu.GetSelectedName()), wide);
}

TEST_F(coSelectTrackwrightMenuTest, FittingAndRankings) {
    const g2dFont font = g2dFont::GetByTextId(1, 15);
    const std::tuple<const char*, i32, const char*> fits[] = {
        {"ab", 1000, "ab"}, {"ab", 10, "..."}, {"", 10, ""}, {"Trackwright", 3, "..."}};
    for (const auto& [text, width, shown] : fits)
        EXPECT_EQ(envStringToNarrow(coFitToColumn(envString(text), font, width)), shown) << text << width;
    g2dFont::Release(font);

    const std::pair<i32, u32> rankings[] = {{0, 10}, {1, 4}, {2, 3}, {3, 5}, {4, 6}, {7, 10}, {-1, 10}};
    for (const auto& [completed, id] : rankings)
        EXPECT_EQ(coRankingTextId(completed), id) << completed;
}

} // namespace
