// The props palette on generated catalogues.
#include "Source/Palettes/coPropsPalette.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Xui/xuiPropSheet.h"
#include "coParkPaletteTestKit.h"

#include <memory>

namespace {

class coPropsPaletteTest : public coParkPaletteTest {
  protected:
    std::unique_ptr<coPropsPalette> Build() {
        BuildTemplates();
        return std::make_unique<coPropsPalette>();
    }
    // Owned by the window manager, so the pointer drives it.
    coPropsPalette* Show() {
        BuildTemplates();
        auto* palette = new coPropsPalette;
        guiWindowMgr::AddWindow(palette);
        PointerFrame(nullptr, false);
        return palette;
    }
    void ClickOn(const guiWindow* window) {
        PointerFrame(window, true);
        PointerFrame(window, false);
    }
    static std::vector<std::string> TabNames(const coPropsPalette& palette) {
        std::vector<std::string> names;
        for (const guiButton* tab : palette.GetTabs())
            names.push_back(tab->GetName());
        return names;
    }
    static guiWindow* Button(const coPropsPalette& palette, i32 j) {
        return static_cast<guiContainer*>(palette.GetSheet()->GetActivePage())
            ->FindChild(std::to_string(j).c_str());
    }
};

TEST_F(coPropsPaletteTest, SizeFollowsTheLargestCategory) {
    struct Case {
        std::vector<int> props;
        i32 height;
        bool rightArrow;
    };
    const Case cases[] = {
        {{3}, 182, false}, {{7, 2}, 246, false}, {{1, 1, 1, 1}, 182, true}, {{}, 150, false}};
    for (const Case& c : cases) {
        coPropTemplateList::DeleteAll();
        std::filesystem::remove_all(themes.Path());
        themes.MakeFolder("");
        for (const char* name : {"prpdef_i", "prpdefpd", "thmtab_i", "thmtab_s"})
            Picture(std::string(name) + ".png");
        for (size_t i = 0; i < c.props.size(); ++i)
            Category("T" + std::to_string(i), c.props[i]);
        auto palette = Build();
        i32 w = 0, h = 0;
        palette->GetSize(w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(160, c.height)) << c.props.size();
        EXPECT_FALSE(palette->FindChild("LeftArrow")->IsEnabled());
        EXPECT_EQ(palette->FindChild("RightArrow")->IsEnabled(), c.rightArrow);
        i32 button = 0, category = 0;
        EXPECT_FALSE(palette->GetClickedProp(button, category));
    }
}

TEST_F(coPropsPaletteTest, HeldBackTabsLeadAndEnvironmentStandsApart) {
    for (const char* name : {"Alpha", "Environment", "Gothic", "Amusement Park", "Monster Island", "Zed"})
        Category(name, 7);
    auto palette = Build();
    EXPECT_EQ(TabNames(*palette),
              (std::vector<std::string>{"Amusement Park", "Gothic", "Monster Island", "Alpha", "Zed"}));
    EXPECT_EQ(palette->GetSheet()->GetActiveTab()->GetName(), "Amusement Park");
    guiWindow* environment = palette->GetSheet()->FindChild("Environment");
    i32 w = 0, h = 0;
    environment->GetSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(64, 32));
    EXPECT_EQ(environment->GetPosition().x, 31.0f);
    EXPECT_EQ(environment->GetPosition().y, -51.0f);
    EXPECT_EQ(Button(*palette, 4)->GetPosition().x, 46.0f);
    EXPECT_EQ(Button(*palette, 4)->GetPosition().y, 55.0f);
}

TEST_F(coPropsPaletteTest, TheRightArrowWalksFiveTabsToTheLastThree) {
    for (const char* name : {"A", "B", "C", "D", "E"})
        Category(name, 1);
    coPropsPalette* palette = Show();
    for (int click = 0; click < 3; ++click)
        ClickOn(palette->FindChild("RightArrow"));
    EXPECT_EQ(palette->GetFirstTab(), 2);
    EXPECT_FALSE(palette->FindChild("RightArrow")->IsEnabled());
    EXPECT_TRUE(palette->FindChild("LeftArrow")->IsEnabled());
    EXPECT_FALSE(palette->GetTabs()[1]->IsVisible());
    EXPECT_TRUE(palette->GetTabs()[4]->IsVisible());
}

TEST_F(coPropsPaletteTest, ClicksPreviewAndFold) {
    // Only a held-back category: still a catalogue that reports clicks.
    Category("Gothic", 7);
    coPropsPalette* palette = Show();
    Click(Button(*palette, 5));
    Click(Button(*palette, 3));
    i32 button = -1, category = -1;
    ASSERT_TRUE(palette->GetClickedProp(button, category));
    EXPECT_EQ(std::pair(button, category), std::pair(3, 0));

    PointerFrame(Button(*palette, 2), false);
    EXPECT_TRUE(palette->GetPreview()->IsVisible());
    EXPECT_NE(FileOf(*palette->GetPreview(), 0).find("prpdefpd.png"), std::string::npos);

    const f32 sheetY = palette->GetSheet()->GetPosition().y;
    guiButton* tab = palette->GetSheet()->GetActiveTab();
    ClickOn(tab);
    EXPECT_TRUE(palette->IsFolded());
    EXPECT_EQ(palette->GetSheet()->GetPosition().y, sheetY + 116.0f);
    EXPECT_FALSE(palette->GetSheet()->GetActivePage()->IsVisible());
    ClickOn(tab);
    EXPECT_FALSE(palette->IsFolded());
    EXPECT_EQ(palette->GetSheet()->GetPosition().y, sheetY);
    EXPECT_TRUE(palette->GetSheet()->GetActivePage()->IsVisible());
}

TEST_F(coPropsPaletteTest, HiddenPagesShowNoPreviewAndHoldNoImages) {
    Category("Alpha", 2);
    Category("Beta", 2);
    auto palette = Build();
    auto* hidden = static_cast<guiContainer*>(palette->GetSheet()->FindChild("1"));
    ASSERT_NE(hidden, nullptr);
    auto* unseen = static_cast<guiImage*>(hidden->FindChild("0"));
    EXPECT_FALSE(unseen->HasTexture(0));
    unseen->SetState(guiStateOver);
    palette->Think();
    EXPECT_FALSE(palette->GetPreview()->IsVisible());
}

// Rebuilt behind the medal dialog, the palette is disabled before it ever thinks.
TEST_F(coPropsPaletteTest, PicturesShowBeforeTheFirstThink) {
    Category("Alpha", 4);
    Category("Beta", 2);
    auto palette = Build();
    palette->SetEnabled(false);
    for (const char* name : {"Top", "Left", "Right", "Bottoms", "Grid"})
        EXPECT_EQ(static_cast<guiImage*>(palette->FindChild(name))->GetShownState(), guiStateIdle) << name;
    for (const guiButton* tab : palette->GetTabs())
        EXPECT_NE(tab->GetImage()->GetShownState(), guiStateNone) << tab->GetName();
}

TEST_F(coPropsPaletteTest, ADamagedIconFallsBackWithOneWarning) {
    Category("Ironvale", 3);
    Damaged("Ironvale/Icons/p00_i.png");
    Picture("Ironvale/Icons/p01_i.png");
    auto palette = Build();
    EXPECT_NE(FileOf(*static_cast<guiImage*>(Button(*palette, 0)), 0).find("prpdef_i.png"),
              std::string::npos);
    EXPECT_NE(FileOf(*static_cast<guiImage*>(Button(*palette, 1)), 0).find("p01_i.png"), std::string::npos);
    EXPECT_EQ(log.Count("p00_i.png"), 1u);
}

} // namespace
