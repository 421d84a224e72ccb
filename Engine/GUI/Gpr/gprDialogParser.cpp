#include "Engine/GUI/Gpr/gprDialogParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprButtonParser.h"
#include "Engine/GUI/Gpr/gprEditFieldParser.h"
#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprListBoxParser.h"
#include "Engine/GUI/Gpr/gprScrollBoxParser.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"

gprDialogParser::gprDialogParser() {
    s_dialog = gprLookUpKeyword("Dialog");
    s_okButton = gprLookUpKeyword("OkButton");
    s_cancelButton = gprLookUpKeyword("CancelButton");
    s_background = gprLookUpKeyword("Background");
}

bool gprDialogParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    if (id == s_okButton || id == s_cancelButton) {
        gprButtonParser button;
        LoadNamedChild(button, id, id == s_okButton ? "Ok" : "Cancel", reader, parent);
        return true;
    }
    if (id == s_background) {
        gprImageParser image;
        LoadNamedChild(image, id, "Background", reader, parent);
        return true;
    }
    return gprContainerParser::LoadChild(id, version, size, reader, parent);
}

bool gprDialogParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_okButton || id == s_cancelButton) {
        gprButtonParser button;
        TranslateObject(button, id, version, reader, writer);
        return true;
    }
    if (id == s_background) {
        gprImageParser image;
        TranslateObject(image, id, version, reader, writer);
        return true;
    }
    return gprContainerParser::TranslateChild(id, version, size, reader, writer);
}

void gprDialogParser::SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) {
    const std::string& name = child->GetName();
    if (name == "Ok" || name == "Cancel") {
        gprButtonParser button;
        SavePart(button, name == "Ok" ? s_okButton : s_cancelButton, version, writer, child);
    } else if (name == "Background") {
        gprImageParser image;
        SavePart(image, s_background, version, writer, child);
    } else {
        gprContainerParser::SaveChildWindow(version, writer, child);
    }
}

bool gprDialogParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiDialog*>(window) != nullptr;
}

guiWindow* gprDialogParser::CreateWidget() const {
    return new guiDialog;
}

gprFileBrowseDialogParser::gprFileBrowseDialogParser() {
    s_fileBrowseDialog = gprLookUpKeyword("FileBrowseDialog");
    s_upArrowButton = gprLookUpKeyword("UpArrowButton");
    s_selectionDisplay = gprLookUpKeyword("SelectionDisplay");
    s_fileSelector = gprLookUpKeyword("FileSelector");
    s_fileSelectorScrollBox = gprLookUpKeyword("FileSelectorScrollBox");
}

bool gprFileBrowseDialogParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader,
                                          guiWindow* parent) {
    if (id == s_upArrowButton) {
        gprButtonParser button;
        LoadNamedChild(button, id, "Up Arrow", reader, parent);
    } else if (id == s_selectionDisplay) {
        gprEditFieldParser field;
        LoadNamedChild(field, id, "Selection Display", reader, parent);
    } else if (id == s_fileSelectorScrollBox) {
        gprScrollBoxParser scrollBox;
        LoadNamedChild(scrollBox, id, "File Selector ScrollBox", reader, parent);
    } else if (id == s_fileSelector) {
        guiWindow* scrollBox = dynamic_cast<guiContainer&>(*parent).FindChild("File Selector ScrollBox");
        if (!scrollBox) {
            DBG_WARNING(
                "\"FileSelector\" of \"%s\": no child named \"File Selector ScrollBox\"; the object is "
                "skipped",
                parent->GetName().c_str());
            return true;
        }
        gprListBoxParser list;
        LoadNamedChild(list, id, "File Selector", reader, scrollBox);
    } else {
        return gprDialogParser::LoadChild(id, version, size, reader, parent);
    }
    return true;
}

bool gprFileBrowseDialogParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader,
                                               chWriter& writer) {
    if (id == s_upArrowButton) {
        gprButtonParser button;
        TranslateObject(button, id, version, reader, writer);
    } else if (id == s_selectionDisplay) {
        gprEditFieldParser field;
        TranslateObject(field, id, version, reader, writer);
    } else if (id == s_fileSelectorScrollBox) {
        gprScrollBoxParser scrollBox;
        TranslateObject(scrollBox, id, version, reader, writer);
    } else if (id == s_fileSelector) {
        gprListBoxParser list;
        TranslateObject(list, id, version, reader, writer);
    } else {
        return gprDialogParser::TranslateChild(id, version, size, reader, writer);
    }
    return true;
}

bool gprFileBrowseDialogParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<xuiFileBrowseDialog*>(window) != nullptr;
}

guiWindow* gprFileBrowseDialogParser::CreateWidget() const {
    return new xuiFileBrowseDialog;
}
