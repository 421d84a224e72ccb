#include "Engine/GUI/Gpr/gprDialogParser.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "gprTestScripts.h"

namespace {

using gprDialogParserTest = gprTestScripts;

// The dialog's own parts take their objects; a saved dialog loads back the same, without extra parts.
TEST_F(gprDialogParserTest, OwnPartsTakeTheirObjectsAndSurviveASave) {
    guiDialog dialog;
    LoadText("Dialog { Id \"Question\" Size 300 120 OkButton { Position 10 20 1 Size 96 32 }"
             " CancelButton { Render 0 } Background { Position 0 0 1.5 } Text { Id \"Line\" Size 200 20 } }",
             &dialog);
    EXPECT_EQ(dialog.GetName(), "Question");
    EXPECT_EQ(dialog.GetChildCount(), 4);
    EXPECT_EQ(dialog.GetOk()->GetPosition().x, 10.0f);
    EXPECT_FALSE(dialog.GetCancel()->IsVisible());
    i32 w = 0, h = 0;
    dialog.GetBackground()->GetSize(w, h);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(dialog.GetBackground()->GetPosition().z, 1.5f);
    ASSERT_NE(dialog.FindChild("Line"), nullptr);

    guiDialog copy;
    LoadBytes(Save(&dialog), &copy);
    EXPECT_EQ(copy.GetChildCount(), 4);
    EXPECT_EQ(copy.GetOk()->GetPosition().y, 20.0f);
    EXPECT_FALSE(copy.GetCancel()->IsVisible());
    copy.GetBackground()->GetSize(w, h);
    EXPECT_EQ(h, 120);
}

} // namespace
