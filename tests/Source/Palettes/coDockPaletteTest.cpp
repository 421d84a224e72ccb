// The dock palette on generated themes, for a coaster of type "Steel".
#include "Source/Palettes/coDockPalette.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "coParkPaletteTestKit.h"

#include <memory>

namespace {

using coDockPaletteTest = coParkPaletteTest;

TEST_F(coDockPaletteTest, OneIconPerDockCategoryThreeToARow) {
    for (const char* name : {"A", "B", "C", "D"})
        Category(name, 1, true);
    Category("NoDock", 1, false);
    Damaged("B/Icons/dock_i.png");
    Picture("C/Icons/dock_i.png");
    BuildTemplates();
    coDockPalette palette;

    i32 w = 0, h = 0;
    palette.GetSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(160, 214));
    ASSERT_EQ(palette.GetItems().size(), 4u);
    const std::pair<f32, f32> places[] = {{34, 66}, {66, 66}, {98, 66}, {34, 98}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(palette.GetItems()[k]->GetPosition().x, places[k].first) << k;
        EXPECT_EQ(palette.GetItems()[k]->GetPosition().y, places[k].second) << k;
    }
    f32 u = 0, v = 0;
    palette.GetGridImage()->GetTile(u, v, 0);
    EXPECT_EQ(std::pair(u, v), std::pair(3.0f, 2.0f));
    // No Icons folder and a damaged icon both show the default, each with a warning.
    EXPECT_NE(FileOf(*palette.GetItems()[0], 0).find("dckdef_i.png"), std::string::npos);
    EXPECT_NE(FileOf(*palette.GetItems()[1], 3).find("dckdef_i.png"), std::string::npos);
    EXPECT_NE(FileOf(*palette.GetItems()[2], 1).find("C/Icons/dock_i.png"), std::string::npos);
    EXPECT_EQ(log.Count("dock_i.png"), 3u);
    EXPECT_EQ(palette.GetItems()[0]->GetColor(0), (std::array<u8, 3>{170, 170, 170}));
}

TEST_F(coDockPaletteTest, AClickIsReportedOnce) {
    Category("A", 1, true);
    Category("B", 1, true);
    BuildTemplates();
    coDockPalette palette;
    std::string name;
    EXPECT_FALSE(palette.GetItemName(name));
    Click(palette.GetItems()[1]);
    ASSERT_TRUE(palette.GetItemName(name));
    EXPECT_EQ(name, "B");
    EXPECT_FALSE(palette.GetItemName(name));
}

TEST_F(coDockPaletteTest, ThePreviewFollowsThePointer) {
    Category("A", 1, true);
    Picture("A/Icons/dock_pd.png");
    Category("B", 1, true);
    BuildTemplates();
    auto* palette = new coDockPalette;
    guiWindowMgr::AddWindow(palette);
    PointerFrame(palette->GetItems()[1], false);
    EXPECT_TRUE(palette->GetPreviewImage()->IsVisible());
    EXPECT_NE(FileOf(*palette->GetPreviewImage(), 0).find("dckdefpd.png"), std::string::npos);
    PointerFrame(palette->GetItems()[0], false);
    EXPECT_NE(FileOf(*palette->GetPreviewImage(), 0).find("A/Icons/dock_pd.png"), std::string::npos);
    PointerFrame(guiWindowMgr::GetRoot(), false);
    EXPECT_FALSE(palette->GetPreviewImage()->IsVisible());
}

TEST_F(coDockPaletteTest, NoDockCategoryLeavesTheFrame) {
    Category("A", 2, false);
    BuildTemplates();
    coDockPalette palette;
    i32 w = 0, h = 0;
    palette.GetSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(160, 150));
    EXPECT_TRUE(palette.GetItems().empty());
}

} // namespace
