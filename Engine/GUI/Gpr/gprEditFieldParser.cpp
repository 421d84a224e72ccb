#include "Engine/GUI/Gpr/gprEditFieldParser.h"

#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprTextParser.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiScrollingText.h"

gprEditFieldParser::gprEditFieldParser() {
    s_editField = gprLookUpKeyword("EditField");
    s_background = gprLookUpKeyword("Background");
    s_caret = gprLookUpKeyword("Caret");
    s_text = gprLookUpKeyword("Text");
    s_caretOffset = gprLookUpKeyword("CaretOffset");
    s_caretPosition = gprLookUpKeyword("CaretPosition");
    s_editable = gprLookUpKeyword("Editable");
}

void gprEditFieldParser::Load(chReader& reader, guiWindow* target) {
    gprContainerParser::Load(reader, target);
    auto& field = dynamic_cast<guiEditField&>(*target);
    // An earlier "Id" may have renamed the text part: then the field keeps what it holds.
    if (auto* text = dynamic_cast<guiScrollingText*>(field.FindChild("Text")))
        field.SetText(text->GetText(0));
}

bool gprEditFieldParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    if (id == s_background || id == s_caret) {
        gprImageParser image;
        LoadNamedChild(image, id, id == s_caret ? "Caret" : "Background", reader, parent);
        return true;
    }
    if (id == s_text) {
        gprScrollingTextParser text;
        LoadNamedChild(text, id, "Text", reader, parent);
        return true;
    }
    return gprContainerParser::LoadChild(id, version, size, reader, parent);
}

bool gprEditFieldParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_background || id == s_caret) {
        gprImageParser image;
        TranslateObject(image, id, version, reader, writer);
        return true;
    }
    if (id == s_text) {
        gprScrollingTextParser text;
        TranslateObject(text, id, version, reader, writer);
        return true;
    }
    return gprContainerParser::TranslateChild(id, version, size, reader, writer);
}

void gprEditFieldParser::SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) {
    const auto& field = dynamic_cast<const guiEditField&>(*child->GetParent());
    if (child == field.GetTextWindow()) {
        gprScrollingTextParser text;
        SavePart(text, s_text, version, writer, child);
    } else if (child == field.GetCaret() || child == field.GetBackground()) {
        gprImageParser image;
        SavePart(image, child == field.GetCaret() ? s_caret : s_background, version, writer, child);
    } else {
        gprContainerParser::SaveChildWindow(version, writer, child);
    }
}

void gprEditFieldParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id == s_caretOffset) {
        i32 x = 0, y = 0;
        reader.ReadInt32(&x);
        reader.ReadInt32(&y);
        dynamic_cast<guiEditField&>(*target).SetCaretOffset(x, y);
    } else if (id == s_caretPosition) {
        i32 index = 0;
        reader.ReadInt32(&index);
        dynamic_cast<guiEditField&>(*target).SetCaretIndex(index);
    } else if (id == s_editable) {
        i8 flag = 0;
        reader.ReadInt8(&flag);
        dynamic_cast<guiEditField&>(*target).SetEditable(flag != 0);
    } else {
        gprContainerParser::LoadProperty(id, version, size, reader, target);
    }
}

void gprEditFieldParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader,
                                           chWriter& writer) {
    if (id == s_caretOffset)
        CopyValues(reader, writer, "ii");
    else if (id == s_caretPosition)
        CopyValues(reader, writer, "i");
    else if (id == s_editable)
        CopyValues(reader, writer, "b");
    else
        gprContainerParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprEditFieldParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiEditField*>(window) != nullptr;
}

guiWindow* gprEditFieldParser::CreateWidget() const {
    return new guiEditField;
}
