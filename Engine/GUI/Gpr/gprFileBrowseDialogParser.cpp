#include "Engine/GUI/Gpr/gprFileBrowseDialogParser.h"

#include "Engine/GUI/Gpr/gprButtonParser.h"
#include "Engine/GUI/Gpr/gprEditFieldParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprListBoxParser.h"
#include "Engine/GUI/Gpr/gprScrollBoxParser.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Xui/xuiFileBrowseDialog.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"

#include <memory>

namespace {

// The parser of a part's keyword; null for other keywords.
std::unique_ptr<gprWindowParser> PartParser(u32 id, u32 upArrow, u32 display, u32 scrollBox, u32 selector) {
    if (id == upArrow)
        return std::make_unique<gprButtonParser>();
    if (id == display)
        return std::make_unique<gprEditFieldParser>();
    if (id == scrollBox)
        return std::make_unique<gprScrollBoxParser>();
    if (id == selector)
        return std::make_unique<gprListBoxParser>();
    return nullptr;
}

} // namespace

gprFileBrowseDialogParser::gprFileBrowseDialogParser() {
    s_fileBrowseDialog = gprLookUpKeyword("FileBrowseDialog");
    s_upArrow = gprLookUpKeyword("UpArrowButton");
    s_display = gprLookUpKeyword("SelectionDisplay");
    s_scrollBox = gprLookUpKeyword("FileSelectorScrollBox");
    s_selector = gprLookUpKeyword("FileSelector");
}

bool gprFileBrowseDialogParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader,
                                          guiWindow* parent) {
    const std::unique_ptr<gprWindowParser> part =
        PartParser(id, s_upArrow, s_display, s_scrollBox, s_selector);
    if (!part)
        return gprDialogParser::LoadChild(id, version, size, reader, parent);
    // The list lies inside the scroll box, so it is reached through the browser, not by name.
    if (id == s_selector)
        part->Load(reader, dynamic_cast<xuiFileBrowseDialog&>(*parent).GetFileSelector());
    else
        LoadNamedChild(*part, id,
                       id == s_upArrow   ? "Up Arrow"
                       : id == s_display ? "Selection Display"
                                         : "File Selector ScrollBox",
                       reader, parent);
    return true;
}

bool gprFileBrowseDialogParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader,
                                               chWriter& writer) {
    const std::unique_ptr<gprWindowParser> part =
        PartParser(id, s_upArrow, s_display, s_scrollBox, s_selector);
    if (!part)
        return gprDialogParser::TranslateChild(id, version, size, reader, writer);
    TranslateObject(*part, id, version, reader, writer);
    return true;
}

void gprFileBrowseDialogParser::SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) {
    const std::string& name = child->GetName();
    if (name == "Up Arrow") {
        gprButtonParser button;
        SavePart(button, s_upArrow, version, writer, child);
    } else if (name == "Selection Display") {
        gprEditFieldParser field;
        SavePart(field, s_display, version, writer, child);
    } else if (name == "File Selector ScrollBox") {
        gprScrollBoxParser box;
        SavePart(box, s_scrollBox, version, writer, child);
    } else {
        gprDialogParser::SaveChildWindow(version, writer, child);
    }
}

bool gprFileBrowseDialogParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<xuiFileBrowseDialog*>(window) != nullptr;
}

guiWindow* gprFileBrowseDialogParser::CreateWidget() const {
    return new xuiFileBrowseDialog;
}
