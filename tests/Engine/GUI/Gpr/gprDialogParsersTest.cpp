#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Xui/xuiComboBox.h"
#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "gprTestScripts.h"

namespace {

using gprDialogParsersTest = gprTestScripts;

guiWindow& ChildOf(const guiWindow& parent, i32 index) {
    return *dynamic_cast<const guiContainer&>(parent).GetChild(index);
}

} // namespace

TEST_F(gprDialogParsersTest, DialogPartsLoadIntoTheDialogsOwnChildren) {
    const i32 parts = guiDialog().GetChildCount();
    guiContainer screen;
    LoadText(
        "Container { Dialog { OkButton { Id \"Yes\" } CancelButton { Id \"No\" } Background { Id \"Back\" }\n"
        "Text { Id \"Question\" } } }",
        &screen);
    const auto& dialog = dynamic_cast<guiDialog&>(ChildOf(screen, 0));
    EXPECT_EQ(dialog.GetChildCount(), parts + 1);
    for (const char* name : {"Yes", "No", "Back", "Question"})
        EXPECT_NE(dialog.FindChild(name), nullptr) << name;
    EXPECT_EQ(dialog.FindChild("Ok"), nullptr);
}

TEST_F(gprDialogParsersTest, EditFieldsTakeTheirTextAfterTheBody) {
    struct Case {
        const char* script;
        const char* text;
        i32 caret;
    };
    const Case cases[] = {
        // The caret position applies to the text held at that moment; the text then puts it at the end.
        {"EditField { CaretPosition -5 Text { StaticText \"abc\" Idle } CaretPosition 1 }", "abc", 3},
        {"EditFieldInteger { Text { StaticText \"42\" Idle } Editable 0 }", "42", 2},
        // A renamed text part is not looked up again: the caret stays where it was.
        {"EditFieldFloat { Text { Id \"Other\" StaticText \"1.5\" Idle } }", "1.5", 0},
    };
    for (const Case& c : cases) {
        guiContainer screen;
        LoadText(std::string("Container { ") + c.script + " }", &screen);
        const auto& field = dynamic_cast<guiEditField&>(ChildOf(screen, 0));
        EXPECT_EQ(envStringToNarrow(field.GetText()), c.text) << c.script;
        EXPECT_EQ(field.GetCaretIndex(), c.caret) << c.script;
    }

    // Each kind comes back as itself, its parts as parts: the most derived parser saves it.
    guiContainer screen;
    LoadText("Container { EditFieldFloat { } EditFieldInteger { CaretOffset 2 3 } EditField { } Dialog { } }",
             &screen);
    EXPECT_NE(dynamic_cast<guiEditFieldFloat*>(&ChildOf(screen, 0)), nullptr);
    EXPECT_NE(dynamic_cast<guiEditFieldInteger*>(&ChildOf(screen, 1)), nullptr);
    const std::string saved = Save(&screen);
    for (const char* id : {"EDFF", "EDFI", "EDFD", "DLOG"})
        EXPECT_NE(saved.find(id), std::string::npos) << id;
    guiContainer again;
    LoadBytes(saved, &again);
    ASSERT_EQ(again.GetChildCount(), 4);
    for (i32 i = 0; i < 4; ++i)
        EXPECT_EQ(dynamic_cast<guiContainer&>(ChildOf(again, i)).GetChildCount(),
                  dynamic_cast<guiContainer&>(ChildOf(screen, i)).GetChildCount());
}

TEST_F(gprDialogParsersTest, ComboBoxPartsAndAnEmptyResultsKeepTheWalkInStep) {
    guiContainer screen;
    LoadText("Container { ComboBoxText { Results { EditField { } } DropDown { ControlPosition \"Right\" "
             "Button { } }\n"
             "ScrollView { ControlPosition \"Bottom\" ListBox { RowText \"a\" } } }\n"
             "ComboBox { Results { } Text { Id \"Inside\" } } ComboBox { Results { Image { } } } Text { Id "
             "\"After\" } }",
             &screen);
    ASSERT_EQ(screen.GetChildCount(), 4);
    const auto& text = dynamic_cast<xuiComboBoxText&>(ChildOf(screen, 0));
    EXPECT_NE(dynamic_cast<guiEditField*>(text.GetResults()), nullptr);
    EXPECT_EQ(text.GetDropDown().position, xuiComboBox::kRight);
    EXPECT_NE(text.GetDropDown().window, nullptr);
    EXPECT_EQ(text.GetScrollView().position, xuiComboBox::kBottom);
    EXPECT_NE(text.GetScrollView().view, nullptr);
    // An empty "Results" leaves the next object inside the same combo box, and the one after outside.
    EXPECT_NE(dynamic_cast<guiContainer&>(ChildOf(screen, 1)).FindChild("Inside"), nullptr);
    EXPECT_EQ(ChildOf(screen, 3).GetName(), "After");
    EXPECT_EQ(dynamic_cast<xuiComboBox&>(ChildOf(screen, 2)).GetResults(), nullptr);
    EXPECT_TRUE(log.Holds("is no container; it is dropped"));
}

TEST_F(gprDialogParsersTest, FileBrowserPartsInAContainerAreFoundUnderTheirNewNames) {
    const i32 parts = xuiFileBrowseDialog().GetChildCount();
    guiContainer screen;
    LoadText("Container { FileBrowseDialog { OkButton { Id \"Yes\" } UpArrowButton { Id \"Up\" }\n"
             "SelectionDisplay { Text { StaticText \"x\" Idle } } FileSelector { Id \"Files\" }\n"
             "FileSelectorScrollBox { Id \"Box\" } FileSelector { Id \"Lost\" } } }",
             &screen);
    const auto& browser = dynamic_cast<xuiFileBrowseDialog&>(ChildOf(screen, 0));
    EXPECT_EQ(browser.GetChildCount(), parts);
    for (const char* name : {"Yes", "Up", "Box"})
        EXPECT_NE(browser.FindChild(name), nullptr) << name;
    const auto& display = dynamic_cast<guiEditField&>(*browser.FindChild("Selection Display"));
    EXPECT_EQ(envStringToNarrow(display.GetText()), "x");
    EXPECT_NE(dynamic_cast<guiContainer&>(*browser.FindChild("Box")).FindChild("Files"), nullptr);
    // Once the scroll box is renamed, a later "FileSelector" finds nothing to load into.
    EXPECT_TRUE(log.Holds("no child named \"File Selector ScrollBox\""));
}

TEST_F(gprDialogParsersTest, FileBrowserPartsLoadIntoTheBrowsersOwnParts) {
    xuiFileBrowseDialog dialog;
    const i32 parts = dialog.GetChildCount();
    LoadText("FileBrowseDialog { UpArrowButton { Size 30 31 } SelectionDisplay { Size 300 20 }\n"
             "FileSelectorScrollBox { Position 5 6 1 } FileSelector { RowHeight 17 }\n"
             "OkButton { Size 50 20 } Text { Id \"Title\" } }",
             &dialog);
    EXPECT_EQ(dialog.GetChildCount(), parts + 1);
    i32 w = 0, h = 0;
    dialog.GetUpArrow()->GetSize(w, h);
    EXPECT_EQ(h, 31);
    dialog.GetSelectionDisplay()->GetSize(w, h);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(dialog.GetFileSelectorScrollBox()->GetPosition().y, 6.0f);
    EXPECT_EQ(dialog.GetFileSelector()->GetRowHeight(), 17);
    dialog.GetOk()->GetSize(w, h);
    EXPECT_EQ(w, 50);
}
