#include "Source/Screens/coQuestionDialog.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiFadeOutObject.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Source/Modes/coModeExitX.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coScreenScript.h"
#include "coScreenTestKit.h"

#include <fstream>
#include <iterator>
#include <optional>

namespace {

struct coQuestionDialogTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        coDialogDimmer::Create();
    }
    void TearDown() override {
        coDialogDimmer::Destroy();
        coScreenTest::TearDown();
    }
    // A new dialog in the window tree, as its callers make it: the plain question, or the medal question
    // of that medal.
    coQuestionDialog* Make(std::optional<i32> medal = {}) {
        auto* dialog = medal ? new coQuestionDialog(*medal) : new coQuestionDialog;
        guiWindowMgr::AddWindow(dialog);
        return dialog;
    }
    static std::string Text(const guiButton* button) {
        return envStringToNarrow(button->GetText()->GetText(0));
    }
};

TEST_F(coQuestionDialogTest, ErrorDisplayAnswersByTypeAndEndingButton) {
    struct Case {
        u32 type;
        const char* ending; // the button the player clicks
        u32 answer;
        bool cancelShown;
    } const cases[] = {{0, "Ok", 0, true}, {0, "Cancel", 1, true}, {0, "Menu", 2, true},
                       {1, "Ok", 3, true}, {1, "Cancel", 4, true}, {2, "Ok", 3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ending) + " of type " + std::to_string(c.type));
        coQuestionDialog* dialog = Make();
        bool loggedFirst = false;
        coTestFrameFunction frame = ClickLater([&] {
            loggedFirst = log.Holds("50%s%n");
            return dialog->FindChild(c.ending);
        });
        dialog->SetThinkFunction(&frame);
        EXPECT_EQ(dialog->Display(c.type, envString("50%s%n")), c.answer);
        EXPECT_TRUE(loggedFirst);
        EXPECT_EQ(dialog->GetCancel()->IsVisible(), c.cancelShown);
        EXPECT_EQ(envStringToNarrow(dynamic_cast<guiText*>(dialog->FindChild("PrimaryText"))->GetText(0)),
                  "50%s%n");
        EXPECT_EQ(Text(dialog->GetOk()), c.type == 0 ? "Abort" : "OK");
        guiWindowMgr::DeleteWindow(dialog);
    }
}

// Escape answers Cancel where Cancel shows, and closes a box that only tells something with its Ok, as a
// hint's box is.
TEST_F(coQuestionDialogTest, EscapeCancelsAQuestionAndClosesABoxWithOkAlone) {
    for (const u32 type : {1u, 2u}) {
        SCOPED_TRACE(type);
        coQuestionDialog* dialog = Make();
        int frames = 0;
        coTestFrameFunction frame([&](int count) {
            frames = count + 1;
            input.GetScript(1).keys[plDik::Escape] = count == 1 ? 0x80 : 0;
            PointerFrame(nullptr, false);
        });
        dialog->SetThinkFunction(&frame);
        EXPECT_EQ(dialog->Display(type, envString("Told")), type == 1 ? 4u : 3u);
        EXPECT_EQ(frames, 3); // ended by the release
        guiWindowMgr::DeleteWindow(dialog);
    }
}

TEST_F(coQuestionDialogTest, TextsByNumberAndMissingOnesLeftEmpty) {
    coQuestionDialog* dialog = Make();
    const auto primary = [dialog] {
        return envStringToNarrow(dynamic_cast<guiText*>(dialog->FindChild("PrimaryText"))->GetText(0));
    };
    // The questions that lose work say so; a name goes in as it is written, never as a format.
    dialog->SetPrimaryTextNum(13);
    EXPECT_EQ(primary(),
              "Leave the builder and go back to the menu? Anything you have not saved will be lost.");
    dialog->SetPrimaryTextNum(17, envString("%s%n%x"));
    EXPECT_EQ(primary(), "Delete the coaster \"%s%n%x\" for good?");
    dialog->SetPrimaryTextNum(10);
    dialog->SetOkTextNum(7);
    dialog->SetCancelTextNum(99);
    EXPECT_EQ(primary(), "Leave the game?");
    EXPECT_EQ(Text(dialog->GetOk()), "Yes");
    EXPECT_EQ(Text(dialog->GetCancel()), "");
    EXPECT_TRUE(log.Holds("no text 99"));
    // The script hides "Menu" until the medal question shows it.
    EXPECT_FALSE(dialog->FindChild("Menu")->IsVisible());
    guiWindowMgr::DeleteWindow(dialog);
}

TEST_F(coQuestionDialogTest, MedalQuestionEndedThroughMenu) {
    for (const i32 medal : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(medal);
        coQuestionDialog* dialog = Make(medal);
        i32 pictures = 0;
        for (i32 i = 0; i < dialog->GetChildCount(); ++i)
            pictures += dynamic_cast<guiImage*>(dialog->GetChild(i)) &&
                        dialog->GetChild(i) != dialog->GetBackground();
        EXPECT_EQ(pictures, medal >= 2 ? 1 : 0);
        EXPECT_EQ(Text(static_cast<guiButton*>(dialog->FindChild("Menu"))), "Menu");
        coTestFrameFunction frame = ClickLater([dialog] { return dialog->FindChild("Menu"); });
        dialog->SetThinkFunction(&frame);
        EXPECT_EQ(dialog->DoModal(), 2);
        EXPECT_TRUE(dialog->WasMenuChosen());
        guiWindowMgr::DeleteWindow(dialog);
    }
}

TEST_F(coQuestionDialogTest, DimmerFollowsItsOwners) {
    xuiFadeOutObject* fade = xuiFadeOutMgr::Get();
    coQuestionDialog* outer = Make();
    coQuestionDialog* inner = Make();
    std::vector<std::pair<guiWindow*, f32>> seen;
    coTestFrameFunction innerFrame = ClickLater([&] {
        seen.emplace_back(fade->GetParent(), fade->GetTransparency(0));
        return inner->GetOk();
    });
    inner->SetThinkFunction(&innerFrame);
    coTestFrameFunction outerFrame([&](int frame) {
        if (frame == 0) {
            EXPECT_EQ(fade->GetPosition().z, 2.0f);
            inner->DoModal();
            seen.emplace_back(fade->GetParent(), fade->GetTransparency(0));
        }
        outer->EndDialog(true);
    });
    outer->SetThinkFunction(&outerFrame);
    outer->DoModal();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(static_cast<guiWindow*>(inner), 0.5f));
    EXPECT_EQ(seen[2], std::make_pair(static_cast<guiWindow*>(outer), 0.5f));
    EXPECT_EQ(fade->GetParent(), guiWindowMgr::GetRoot());
    EXPECT_EQ(fade->GetTransparency(0), 0.0f);

    // The player leaves the game from inside the question: the sheet is back in the root before the
    // dialog goes, and stays for the next question.
    coTestFrameFunction leaving([](int) { throw coModeExitX(); });
    inner->SetThinkFunction(&leaving);
    EXPECT_THROW(inner->DoModal(), coModeExitX);
    guiWindowMgr::DeleteWindow(inner);
    guiWindowMgr::DeleteWindow(outer);
    EXPECT_EQ(xuiFadeOutMgr::Get(), fade);
    EXPECT_EQ(fade->GetParent(), guiWindowMgr::GetRoot());
}

TEST_F(coQuestionDialogTest, BrokenContentIsReportedWithItsFile) {
    fsTestFolder gui;
    gui.Write("uiqd/uiqd.gst", "Dialog { Id \"uiqd\" Text { Id \"Other\" } }");
    SetRoot(coRootGui, gui.Path());
    try {
        coQuestionDialog dialog;
        FAIL() << "a script without PrimaryText was taken";
    } catch (const coScreenScriptX& e) {
        EXPECT_EQ(envStringToNarrow(e.GetLocator().GetLastComponent()), "uiqd.gsf");
        EXPECT_TRUE(log.Holds("\"uiqd\" has no Text named \"PrimaryText\""));
    }
    fsTestFolder damaged;
    std::ifstream in(DataPath("Data/GUI/uiqd/uiqd.gsf"), std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), {}};
    damaged.Write("uiqd/uiqd.gsf", whole.substr(0, whole.size() / 2));
    SetRoot(coRootGui, damaged.Path());
    EXPECT_THROW(coQuestionDialog(), coScreenScriptX);

    SetRoot(coRootGui, DataPath("Data/GUI"));
    SetRoot(coRootText, saves.Path());
    try {
        coQuestionDialog dialog;
        FAIL() << "a dialog without its texts was made";
    } catch (const fsFileDoesntExistX& e) {
        EXPECT_EQ(envStringToNarrow(e.GetLocator().GetLastComponent()), "uimc.tsf");
    }
}

} // namespace
