// Filling the animation list row by row, and picking from it the event a real prop shows.
#include "Source/Screens/coChooseAnimDialog.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/World/coProp.h"
#include "coScreenTestKit.h"

namespace {

using coChooseAnimDialogTest = coScreenTest;

TEST_F(coChooseAnimDialogTest, RowsFillInOrderWhateverRowIsAsked) {
    guiTableBox table;
    table.InsertColumn(0, 128);
    SetTableRowText(table, 0, envString("Idle"));
    // Past the end: appended as the next row.
    SetTableRowText(table, 5, envString("1"));
    SetTableRowText(table, 0, envString("Wave"));
    i32 rows = 0, columns = 0;
    table.GetDimensions(rows, columns);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(envStringToNarrow(table.GetItemText(0)), "Wave");
    EXPECT_EQ(envStringToNarrow(table.GetItemText(1)), "1");
    for (const i32 state : {0, 1, guiTableBox::kSelectedState})
        EXPECT_EQ(envStringToNarrow(static_cast<guiText*>(table.GetCellWindow(1, 0))->GetText(state)), "1");
}

// Each case a run of the list over the fountain: a click on a row (down, then up), or Escape.
TEST_F(coChooseAnimDialogTest, AClickChoosesTheRowAndEscapeChangesNothing) {
    coBindDefaultInput();
    coProp fountain(LoadShippedFountain());
    struct Case {
        i32 active;
        i32 clicked; // -1: Escape instead
        i32 result;
        i32 event;
    };
    const Case cases[] = {{0, 1, 1, 1},
                          // The active row confirms, though its cell always shows the selected state.
                          {1, 1, 1, 1},
                          {1, -1, 2, 1},
                          // An event past the list selects no row: nothing to choose, Escape still leaves.
                          {5, -1, 2, 5}};
    for (const Case& c : cases) {
        fountain.SetActiveEvent(c.active);
        auto* dialog = new coChooseAnimDialog(&fountain, 100, 100);
        guiWindowMgr::AddWindow(dialog);
        guiTableBox& table = *dialog->GetEventTable();
        EXPECT_EQ(envStringToNarrow(table.GetItemText(1)), "Cascade");
        coTestFrameFunction frame([&](int f) {
            if (c.clicked >= 0) {
                PointerFrame(table.GetCellWindow(c.clicked, 0), f == 1);
                return;
            }
            input.GetScript(1).keys[plDik::Escape] = f == 1 ? 0x80 : 0;
            PointerFrame(nullptr, false);
        });
        dialog->SetThinkFunction(&frame);
        EXPECT_EQ(dialog->DoModal(), c.result) << c.active << " " << c.clicked;
        EXPECT_EQ(fountain.GetActiveEvent(), c.event) << c.active << " " << c.clicked;
        // The builder underneath does not take the same Escape.
        EXPECT_FALSE(inDeviceManager::GetVirtualJoystick()->WasButtonReleased(coActionEscape));
        guiWindowMgr::DeleteWindow(dialog);
    }
}

} // namespace
