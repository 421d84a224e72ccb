// Filling the animation list row by row.
#include "Source/Screens/coChooseAnimDialog.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
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

} // namespace
