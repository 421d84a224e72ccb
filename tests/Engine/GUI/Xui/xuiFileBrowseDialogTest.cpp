#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"
#include "../Gui/guiWidgetFixture.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"

#include <functional>
#include <string>
#include <vector>

// The dialog at the top left: Up Arrow at (0, 0), the list's rows 20 high from y 30.
class xuiFileBrowseDialogTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        folder.Write("tree/a/empty.txt", "");
        folder.MakeFolder("tree/b/inner");
        folder.Write("tree/mix.mp3.wav", "RIFF");
        folder.Write("tree/notes.txt", "text");
        dialog = Add<xuiFileBrowseDialog>();
        dialog->SetJustification(guiJustifyLeft, guiJustifyTop);
        dialog->SetSize(400, 300);
        dialog->SetPosition({0.0f, 0.0f, 0.5f});
        dialog->GetUpArrow()->SetSize(40, 20);
        dialog->GetFileSelector()->SetRowHeight(20);
        dialog->GetFileSelectorScrollBox()->SetSize(400, 200);
        dialog->GetFileSelectorScrollBox()->SetPosition({0.0f, 30.0f, 0.5f});
        dialog->SetFilter(envString("m3u;M3U;mp3;MP3;wma;wav"));
        dialog->SetThinkFunction(&frames);
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (i32 i = 0; i < list().GetItemCount(); ++i)
            rows.push_back(envStringToNarrow(list().GetItemText(i)));
        return rows;
    }
    guiListBox& list() const { return *dialog->GetFileSelector(); }
    // Press and release at a place, then `then` after the release.
    void Click(
        float x, float y, std::function<void()> then = [] {}) {
        frames.steps.push_back([this, x, y] { Update(x, y, true); });
        frames.steps.push_back([this, x, y, then] {
            Update(x, y);
            then();
        });
    }
    void Check(std::function<void()> check) {
        frames.steps.push_back([this, check] {
            Update(500, 500);
            check();
        });
    }
    xuiFileBrowseDialog* dialog = nullptr;
    guiScriptedFrames frames;
};

TEST_F(xuiFileBrowseDialogTest, FoldersAreEnteredAndLeftAndAFileEndsTheRun) {
    dialog->SetDirectory(folder.Locator("tree"));
    Check([this] {
        EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "mix.mp3.wav", "mix.mp3.wav"}));
        EXPECT_TRUE(dialog->GetUpArrow()->IsEnabled());
        EXPECT_FALSE(dialog->GetOk()->IsEnabled());
        EXPECT_EQ(envStringToNarrow(dialog->GetSelectionDisplay()->GetText()), folder.Path("tree") + "/");
        list().Select(1);
    });
    // The highlight is on row 1: a double-click enters "b", whose folder "inner" shows alone.
    Click(100, 60);
    Click(100, 60, [this] { EXPECT_EQ(Rows(), std::vector<std::string>{"inner"}); });
    Click(10, 10, [this] { EXPECT_EQ(list().GetSelection(), 0); });
    // On row 1, not selected, the second click lands on the highlight the first brought; still entered.
    Click(100, 60);
    Click(100, 60, [this] { EXPECT_EQ(Rows(), std::vector<std::string>{"inner"}); });
    Click(10, 10, [this] {
        EXPECT_EQ(Rows().size(), 4u);
        list().Select(2);
    });
    Check([this] { EXPECT_TRUE(dialog->GetOk()->IsEnabled()); });
    Click(100, 80);
    Click(100, 80);
    EXPECT_EQ(dialog->DoModal(), 1);
    EXPECT_EQ(frames.frame, frames.steps.size());
    EXPECT_TRUE(dialog->GetSelectedPath() == folder.Locator("tree/mix.mp3.wav"));
}

TEST_F(xuiFileBrowseDialogTest, AnEmptyListAndTheDrivesKeepOkDisabled) {
    folder.MakeFolder("tree/void");
    dialog->SetDirectory(folder.Locator("tree/void"));
    // Nothing to select: a double-click stays in the folder.
    Click(100, 40);
    Click(100, 40, [this] {
        EXPECT_EQ(list().GetSelection(), -1);
        EXPECT_TRUE(dialog->GetSelectedPath() == folder.Locator("tree/void"));
        EXPECT_FALSE(dialog->GetOk()->IsEnabled());
        dialog->EndDialog(false);
    });
    EXPECT_EQ(dialog->DoModal(), 2);

    frames.steps.clear();
    frames.frame = 0;
    dialog->SetDirectory(fsLocator());
    Check([this] {
        EXPECT_EQ(Rows(), std::vector<std::string>{"/"});
        EXPECT_FALSE(dialog->GetUpArrow()->IsEnabled());
        EXPECT_FALSE(dialog->GetOk()->IsEnabled());
        EXPECT_EQ(dialog->GetSelectedPath().GetComponentCount(), 1u);
        dialog->EndDialog(false);
    });
    EXPECT_EQ(dialog->DoModal(), 2);
}
