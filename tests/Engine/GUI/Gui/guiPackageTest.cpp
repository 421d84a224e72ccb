#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "guiTestFrame.h"

#include <string>
#include <vector>

namespace {

class guiPackageTest : public guiTestServices {
  protected:
    void SetUp() override {
        guiTestServices::SetUp();
        guiSetStartLog([this](const char* step) { steps.push_back(step); });
    }
    void TearDown() override {
        guiSetStartLog({});
        guiTestServices::TearDown();
    }
    std::vector<std::string> steps;
    fsTestFolder folder;
};

using Steps = std::vector<std::string>;

} // namespace

TEST_F(guiPackageTest, CountedStartsAndStopsInTheirOrder) {
    guiInit();
    EXPECT_EQ(steps,
              (Steps{"env", "dbg", "it", "fs", "in", "rendering", "sn", "cursor", "root", "cues", "errors"}));
    ASSERT_NE(gfErrorHandler::GetPackageFile(guiErrorPackage), nullptr);
    EXPECT_EQ(*gfErrorHandler::GetPackageFile(guiErrorPackage), envString("guiErrors.tsf"));
    guiInit();
    guiContainer* root = guiWindowMgr::GetRoot();
    EXPECT_EQ(root->GetName(), "guiWindowMgr::Root");
    steps.clear();
    guiShutdown();
    EXPECT_EQ(guiWindowMgr::GetRoot(), root);
    EXPECT_TRUE(steps.empty());
    guiShutdown();
    EXPECT_EQ(guiWindowMgr::GetRoot(), nullptr);
    EXPECT_EQ(steps, (Steps{"cues", "root", "cursor", "sn", "rendering", "in", "fs", "it", "dbg", "env"}));
    guiShutdown();
    EXPECT_EQ(log.Count("gui shut down more often than started"), 1u);
    EXPECT_EQ(guiGetInitCount(), 0u);

    steps.clear();
    gprInit();
    gprInit();
    EXPECT_EQ(steps, (Steps{"env", "dbg", "ch", "keywords", "parsers", "names", "errors"}));
    EXPECT_EQ(gprGetStateNames().at("Held"), 4);
    // The six window states and the six a checked box shows.
    EXPECT_EQ(gprGetStateNames().size(), 12u);
    EXPECT_EQ(*gfErrorHandler::GetPackageFile(gprErrorPackage), envString("gprErrors.tsf"));
    gprShutdown();
    EXPECT_EQ(gprGetStateNames().size(), 12u);
    steps.clear();
    gprShutdown();
    EXPECT_EQ(steps, (Steps{"names", "parsers", "keywords", "ch", "dbg", "env"}));
    EXPECT_TRUE(gprGetStateNames().empty());
    gprShutdown();
    EXPECT_EQ(log.Count("gpr shut down more often than started"), 1u);
}

TEST_F(guiPackageTest, ADisplayChangeCycleLeavesNoWindowModalEntryOrClick) {
    guiInit();
    auto* dialog = new guiTestWindow("dialog");
    guiWindowMgr::AddWindow(dialog);
    guiWindowMgr::PushModal(dialog);
    guiWindow::SetFocusWindow(dialog);
    guiMouseButtons::RecordClick(guiMouseButtons::kMain, dialog);
    guiMouseButtons::RecordClick(guiMouseButtons::kMain, dialog);
    guiShutdown();
    guiInit();
    EXPECT_EQ(guiWindowMgr::GetRoot()->GetChildCount(), 0);
    EXPECT_EQ(guiWindowMgr::GetModalCount(), 0u);
    EXPECT_EQ(guiWindow::GetFocusWindow(), nullptr);
    EXPECT_EQ(guiMouseButtons::GetDoubleClick(guiMouseButtons::kMain), nullptr);
    guiShutdown();
}

TEST_F(guiPackageTest, ThePointerStoresWithoutADisplayAndCallsNothing) {
    guiInit();
    folder.Write("arrow.png", g2dImageBuilder::Png(1, 8, 6, {std::string("\x10\x20\x30\xFF", 4)}));
    guiCursor& cursor = *guiCursorMgr::GetCursor();
    cursor.SetImage(folder.Locator("arrow.png"), 0);
    guiCursorMgr::SetHotSpot({2.0f, 2.0f});
    guiCursorMgr::SetShape(0);
    guiCursorMgr::SetPosition({10.0f, 20.0f});
    guiCursorMgr::SetVisible(false);
    guiCursorMgr::UpdatePosition();
    EXPECT_EQ(cursor.GetShape(), 0);
    EXPECT_EQ(guiCursorMgr::GetPosition().x, 10.0f);
    EXPECT_FALSE(guiCursorMgr::IsVisible());
    EXPECT_EQ(d3d.GetDevice(), nullptr);
    guiShutdown();
    // Outside the package's life the forwarders do nothing.
    guiCursorMgr::SetPosition({5.0f, 5.0f});
    EXPECT_EQ(guiCursorMgr::GetPosition().x, 0.0f);
    EXPECT_TRUE(guiCursorMgr::IsVisible());
}
