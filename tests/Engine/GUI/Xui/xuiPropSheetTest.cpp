#include "Engine/GUI/Xui/xuiPropSheet.h"
#include "../Gui/guiWidgetFixture.h"
#include "Engine/GUI/Gui/guiButton.h"

#include <string>
#include <utility>

namespace {

class xuiPropSheetTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        sheet = new xuiPropSheet;
        guiWindowMgr::AddWindow(sheet);
        sheet->SetSize(300, 200);
        sheet->SetPosition({100.0f, 100.0f, 1.0f});
        for (i32 width : {100, 150, 80, 60}) {
            auto tab = std::make_unique<guiButton>();
            tab->SetSize(width, 20);
            auto page = std::make_unique<guiContainer>();
            pages.push_back(page.get());
            tabs.push_back(sheet->AddPage(std::move(tab), std::move(page)));
        }
    }
    xuiPropSheet* sheet = nullptr;
    std::vector<guiButton*> tabs;
    std::vector<guiWindow*> pages;
};

} // namespace

TEST_F(xuiPropSheetTest, TabsWrapIntoRowsAbove) {
    const std::pair<float, float> expected[] = {{0, -20}, {100, -20}, {250, -20}, {0, -40}};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(std::pair(tabs[i]->GetPosition().x, tabs[i]->GetPosition().y), expected[i]) << i;
}

TEST_F(xuiPropSheetTest, ClickingATabShowsItsPage) {
    const auto shown = [this] {
        std::string flags;
        for (guiWindow* page : pages)
            flags += page->IsVisible() && page->IsEnabled() ? '1' : '0';
        return flags;
    };
    EXPECT_EQ(shown(), "1000");
    Click(210, 85); // the second tab
    EXPECT_EQ(shown(), "0100");
    EXPECT_EQ(sheet->GetActiveTab(), tabs[1]);
    EXPECT_EQ(tabs[1]->GetState(), 6);
    EXPECT_EQ(tabs[0]->GetState(), guiStateIdle);
    // The active tab clicked again only looks Released.
    Click(210, 85);
    EXPECT_EQ(shown(), "0100");
    EXPECT_EQ(tabs[1]->GetState(), 10);
    Update(700, 500);
    EXPECT_EQ(tabs[1]->GetState(), 6);
    sheet->SetActivePage(-1);
    sheet->SetActivePage(4);
    EXPECT_EQ(shown(), "0100");
    sheet->SetVisible(false);
    sheet->SetVisible(true);
    EXPECT_EQ(shown(), "0100");
}
