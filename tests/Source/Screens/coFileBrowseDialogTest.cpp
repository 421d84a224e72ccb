#include "Source/Screens/coFileBrowseDialog.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiScrollingText.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "coScreenTestKit.h"

#include <algorithm>
#include <cmath>
#include <string>

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

// The folder field's line spans the field at its own size and is drawn from the path's end, the listed
// folder's name, back as far as fits.
void ExpectFieldShowsFolder(const guiEditField& field, const std::string& folder) {
    const guiScrollingText& line = *field.GetTextWindow();
    i32 fieldWidth = 0, fieldHeight = 0, width = 0, height = 0, textureWidth = 0, textureHeight = 0;
    f32 u = 1.0f, v = 1.0f;
    field.GetSize(fieldWidth, fieldHeight);
    line.GetSize(width, height);
    line.GetTextureSize(textureWidth, textureHeight);
    line.GetTile(u, v, 0);
    EXPECT_GE(width, fieldWidth * 95 / 100);
    EXPECT_EQ(std::pair(std::lround(static_cast<f32>(textureWidth) * u),
                        std::lround(static_cast<f32>(textureHeight) * v)),
              std::pair(static_cast<long>(width), static_cast<long>(height)));
    const envString path = field.GetText();
    const u32 first = static_cast<u32>(line.GetFirstVisibleChar());
    const auto inkWidth = [&](u32 from) {
        u32 w = 0, h = 0;
        g2dFont::MeasureText(line.GetFont(0), envString(from, path.GetLength() - from, path), w, h);
        return static_cast<i32>(w);
    };
    EXPECT_TRUE(envStringToNarrow(path).ends_with("/" + folder + "/")) << envStringToNarrow(path);
    ASSERT_FALSE(line.GetTextList().empty());
    EXPECT_EQ(envStringToNarrow(line.GetTextList()[0]),
              envStringToNarrow(envString(first, path.GetLength() - first, path)));
    EXPECT_LT(inkWidth(first), width) << envStringToNarrow(path) << " from " << first;
    if (first > 0) {
        EXPECT_GE(inkWidth(first - 1), width - 1) << envStringToNarrow(path) << " from " << first;
    }
}

// A music folder deep in the disc: the field shows its name when listed, after a change of selection,
// and its parent's after the Up Arrow.
TEST_F(coFileBrowseDialogTest, TheFolderFieldShowsTheListedFoldersName) {
    fsTestFolder disc;
    const std::string parent = "Games/Loopvane Coaster Designer/Installed for Every Player/data/Data";
    disc.Write(parent + "/Music/Rides/lift.wav", "x");
    disc.Write(parent + "/Music/station.wav", "x");
    auto* dialog = new coFileBrowseDialog;
    guiWindowMgr::AddWindow(dialog);
    dialog->SetDirectory(disc.Locator(parent + "/Music"));
    dialog->SetFilter(envString("wav"));
    guiEditField& field = *dialog->GetSelectionDisplay();
    coTestFrameFunction frame([&](int f) {
        PointerFrame(f == 2 || f == 3 ? dialog->GetUpArrow() : nullptr, f == 2);
        if (f == 0) {
            ExpectFieldShowsFolder(field, "Music");
            dialog->GetFileSelector()->Select(1);
        } else if (f == 1) {
            ASSERT_EQ(dialog->GetFileSelector()->GetSelection(), 1);
            ExpectFieldShowsFolder(field, "Music");
        } else if (f == 4) {
            ExpectFieldShowsFolder(field, "Data");
            dialog->EndDialog(false);
        }
    });
    dialog->SetThinkFunction(&frame);
    EXPECT_EQ(dialog->DoModal(), 2);
    EXPECT_EQ(frame.frames, 5);
    guiWindowMgr::DeleteWindow(dialog);
}

} // namespace
