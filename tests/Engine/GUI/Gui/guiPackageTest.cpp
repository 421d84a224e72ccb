#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dImage.h"
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

TEST_F(guiPackageTest, TheCursorShapeChangesOnlyToANewIdWithAnImage) {
    guiInit();
    guiCursor& cursor = *guiCursorMgr::GetCursor();
    std::vector<const g2dImage*> shown;
    cursor.SetImageSetter([&shown](const g2dImage& image) { shown.push_back(&image); });
    g2dImage arrow, hand;
    cursor.SetImage(0, &arrow);
    cursor.SetImage(1, &hand);
    EXPECT_EQ(cursor.GetShape(), -1);
    const struct {
        i32 id;
        i32 expectShape;
        size_t expectShown;
    } steps[] = {{0, 0, 1}, {0, 0, 1}, {7, 0, 1}, {1, 1, 2}, {0, 0, 3}};
    for (const auto& s : steps) {
        guiCursorMgr::SetShape(s.id);
        EXPECT_EQ(cursor.GetShape(), s.expectShape) << s.id;
        EXPECT_EQ(shown.size(), s.expectShown) << s.id;
    }
    EXPECT_EQ(shown.back(), &arrow);
    guiShutdown();
}
