#include "Source/Screens/coCreditsDialog.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Source/Screens/coScreenScript.h"
#include "coScreenTestKit.h"

#include <algorithm>
#include <map>

namespace {

using coCreditsDialogTest = coScreenTest;

std::string CellText(guiTableBox* table, i32 row, i32 column) {
    return envStringToNarrow(dynamic_cast<guiText*>(table->GetCellWindow(row, column))->GetText(0));
}

TEST_F(coCreditsDialogTest, RowsTakeFiveTextsAtStridesOf16) {
    fsTestFolder texts;
    std::map<u32, envString> credits;
    for (u32 i = 0; i < 12; ++i)
        credits[i < 5 ? i : 11 + i] = envString(("text " + std::to_string(i)).c_str());
    gfWriteTextSet(texts.Locator("Credits.tsf"), 32, credits);
    gfWriteTextSet(texts.Locator("uicdcdsp.tsf"), 32, {});
    SetRoot(coRootText, texts.Path());
    coCreditsDialog dialog;
    EXPECT_EQ(dialog.GetRowCount(), 2);
    EXPECT_EQ(CellText(dialog.GetTable(), 0, 0), "text 0");
    EXPECT_EQ(CellText(dialog.GetTable(), 1, 0), "text 5"); // id 16
    EXPECT_EQ(CellText(dialog.GetTable(), 1, 4), "text 9"); // id 20
    EXPECT_TRUE(dialog.GetDisplayLines().empty());
    EXPECT_EQ(dialog.GetTable()->GetVisibleRows(), 27);
    EXPECT_FALSE(dialog.IsVisible() || dialog.IsEnabled());
}

TEST_F(coCreditsDialogTest, LinesStartByTheConfiguredResolution) {
    struct Case {
        i32 resolution, x, y, size;
    } const cases[] = {{5, 120, 384, 14}, {0, 150, 480, 14}, {1, 192, 614, 14},
                       {2, 216, 691, 14}, {3, 240, 768, 26}, {4, 300, 960, 26}};
    for (const Case& c : cases) {
        i32 x = 0, y = 0;
        coCreditsDialog::GetLineOrigin(c.resolution, x, y);
        EXPECT_EQ(x, c.x) << c.resolution;
        EXPECT_EQ(y, c.y) << c.resolution;
        coPrefs::SetInt(coPrefResolution, c.resolution);
        coCreditsDialog dialog;
        envString face;
        i32 size = 0, textId = 0;
        g2dFont::GetInfo(dialog.GetDisplayFont(), face, size, textId);
        EXPECT_EQ(size, c.size) << c.resolution;
    }
}

TEST_F(coCreditsDialogTest, TheModalRunLeavesTheClock) {
    auto* dialog = new coCreditsDialog;
    guiWindowMgr::AddWindow(dialog);
    SetTime(5.0f);
    coCreditsDialogFunction frame(mode.ModalFrameStart());
    frame.SetDialog(dialog);
    struct Counting : guiFunction {
        coCreditsDialogFunction& frame;
        coCreditsDialog* dialog;
        int frames = 0;
        Counting(coCreditsDialogFunction& f, coCreditsDialog* d) : frame(f), dialog(d) {}
        void Execute() override {
            frame.Execute();
            if (++frames == 10)
                dialog->EndDialog(true);
        }
    } counting(frame, dialog);
    dialog->SetThinkFunction(&counting);
    const u32 presents = Presents();
    EXPECT_EQ(dialog->DoModal(), 1);
    EXPECT_EQ(appClock::GetTime(), 5.0f);
    EXPECT_EQ(Presents() - presents, 10u);
    guiWindowMgr::DeleteWindow(dialog);
}

// With no Cancel button, Escape leaves the credits as Ok does.
TEST_F(coCreditsDialogTest, EscapeLeaves) {
    auto* dialog = new coCreditsDialog;
    guiWindowMgr::AddWindow(dialog);
    coTestFrameFunction frame([&](int f) {
        input.GetScript(1).keys[plDik::Escape] = f == 1 ? 0x80 : 0;
        PointerFrame(nullptr, false);
    });
    dialog->SetThinkFunction(&frame);
    EXPECT_EQ(dialog->DoModal(), 1);
    EXPECT_EQ(frame.frames, 3);
    guiWindowMgr::DeleteWindow(dialog);
}

// The lines go over the 3D frame: drawn before it, the menu's full-screen picture would cover them.
TEST_F(coCreditsDialogTest, TheLinesAreDrawnOverTheFrame) {
    auto* dialog = new coCreditsDialog;
    ASSERT_FALSE(dialog->GetDisplayLines().empty());
    guiWindowMgr::AddWindow(dialog);
    coCreditsDialogFunction frame(mode.ModalFrameStart());
    frame.SetDialog(dialog);
    d3d.GetLog().clear();
    frame.Execute();
    const std::vector<std::string>& calls = d3d.GetLog();
    const auto at = [&calls](const char* call) {
        return std::find_if(calls.rbegin(), calls.rend(),
                            [call](const std::string& line) { return line.rfind(call, 0) == 0; })
            .base();
    };
    // The 3D frame begins by clearing the depth buffer; the lines' glyphs come after it.
    EXPECT_GT(at("DrawPrimitiveUP"), at("Clear 2 "));
    guiWindowMgr::DeleteWindow(dialog);
}

TEST_F(coCreditsDialogTest, AScriptWithoutItsScrollBoxIsReported) {
    fsTestFolder gui;
    gui.Write("uicd/uicd.gst", "Dialog { Id \"uicd\" }");
    SetRoot(coRootGui, gui.Path());
    EXPECT_THROW(coCreditsDialog(), coScreenScriptX);
    EXPECT_TRUE(log.Holds("\"uicd\" has no ScrollBox named \"ScrollBox\""));
}

} // namespace
