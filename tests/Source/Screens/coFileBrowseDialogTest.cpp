#include "Source/Screens/coFileBrowseDialog.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "coScreenTestKit.h"

#include <algorithm>

namespace {

using coFileBrowseDialogTest = coScreenTest;

TEST_F(coFileBrowseDialogTest, OnlyItsButtonsEndItWhileGameTimeStandsStill) {
    fsTestFolder music;
    for (const char* name : {"a.wav", "b.MP3", "c.wma", "d.ogg"})
        music.Write(name, "x");
    auto* dialog = new coFileBrowseDialog;
    guiWindowMgr::AddWindow(dialog);
    EXPECT_FALSE(dialog->IsVisible());
    dialog->SetDirectory(music.Locator());
    dialog->SetFilter(envString("m3u;M3U;mp3;MP3;wma;wav"));
    SetTime(5.0f);
    coFileBrowseDialogFunction real(mode.ModalFrameStart());
    // Twenty frames of Enter and Escape pressed and let go, then a click on Cancel.
    coTestFrameFunction frame([&](int f) {
        input.GetScript(1).keys[plDik::Return] = f < 20 && f % 4 == 0 ? 0x80 : 0;
        input.GetScript(1).keys[plDik::Escape] = f < 20 && f % 4 == 2 ? 0x80 : 0;
        if (f >= 20) {
            const maVector3d at = dialog->GetCancel()->GetWorldMatrix().GetTranslation();
            guiCursorMgr::SetPosition({at.x + 4.0f, at.y + 4.0f});
            input.GetScript(0).mouse.buttons[0] = f == 20 ? 0x80 : 0;
        }
        real.Execute();
    });
    dialog->SetThinkFunction(&frame);
    EXPECT_EQ(dialog->DoModal(), 2);
    EXPECT_EQ(frame.frames, 22);
    EXPECT_EQ(appClock::GetTime(), 5.0f);
    // The shipped script sizes the list after its row height, so its rows are on view.
    EXPECT_EQ(dialog->GetFileSelector()->GetVisibleRows(), 8);
    EXPECT_TRUE(dialog->GetFileSelector()->GetRow(0)->IsVisible());
    std::vector<std::string> rows;
    for (i32 i = 0; i < dialog->GetFileSelector()->GetItemCount(); ++i)
        rows.push_back(envStringToNarrow(dialog->GetFileSelector()->GetItemText(i)));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"a.wav", "b.MP3", "c.wma"}));
    guiWindowMgr::DeleteWindow(dialog);
}

} // namespace
