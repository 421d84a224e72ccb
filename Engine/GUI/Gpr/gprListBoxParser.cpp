#include "Engine/GUI/Gpr/gprListBoxParser.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprButtonParser.h"
#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiListBox.h"

gprListBoxParser::gprListBoxParser() {
    s_listBox = gprLookUpKeyword("ListBox");
    s_background = gprLookUpKeyword("Background");
    s_highlight = gprLookUpKeyword("Highlight");
    s_rowTemplate = gprLookUpKeyword("RowTemplate");
    s_rowHeight = gprLookUpKeyword("RowHeight");
    s_rowText = gprLookUpKeyword("RowText");
    s_rowTextNum = gprLookUpKeyword("RowTextNum");
}

bool gprListBoxParser::LoadChild(u32 id, u16, u32, chReader& reader, guiWindow* parent) {
    if (id == s_background) {
        gprImageParser image;
        LoadNamedChild(image, id, "Background", reader, parent);
    } else if (id == s_highlight) {
        gprButtonParser button;
        LoadNamedChild(button, id, "Highlight", reader, parent);
    } else if (id == s_rowTemplate) {
        gprButtonParser button;
        button.Load(reader, dynamic_cast<guiListBox&>(*parent).GetRowTemplate());
    } else {
        return false;
    }
    return true;
}

bool gprListBoxParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_background) {
        gprImageParser image;
        TranslateObject(image, id, version, reader, writer);
        return true;
    }
    if (id == s_highlight || id == s_rowTemplate) {
        gprButtonParser button;
        TranslateObject(button, id, version, reader, writer);
        return true;
    }
    return gprContainerParser::TranslateChild(id, version, size, reader, writer);
}

void gprListBoxParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id != s_rowHeight && id != s_rowText && id != s_rowTextNum) {
        gprContainerParser::LoadProperty(id, version, size, reader, target);
        return;
    }
    auto& list = dynamic_cast<guiListBox&>(*target);
    if (id == s_rowText) {
        std::string text;
        reader.ReadString(text);
        list.AppendRow(Widen(text));
        return;
    }
    i32 value = 0;
    reader.ReadInt32(&value);
    if (id == s_rowHeight) {
        list.SetRowHeight(value);
        return;
    }
    const gfTextSet* texts = gprGetTextSet();
    if (!texts) {
        DBG_WARNING("ListBox w/ ID: %s names row text %d, but no text set is installed; no row appended",
                    target->GetName().c_str(), value);
        return;
    }
    list.AppendRow(texts->GetText(static_cast<u32>(value)));
}

void gprListBoxParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_rowText)
        CopyValues(reader, writer, "s");
    else if (id == s_rowHeight || id == s_rowTextNum)
        CopyValues(reader, writer, "i");
    else
        gprContainerParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprListBoxParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiListBox*>(window) != nullptr;
}

guiWindow* gprListBoxParser::CreateWidget() const {
    return new guiListBox;
}
