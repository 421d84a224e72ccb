#include "Engine/GUI/Gpr/gprDialogParser.h"

#include "Engine/GUI/Gpr/gprButtonParser.h"
#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiImage.h"

namespace {

// A parser whose object goes under another keyword: the dialog's parts have the bodies of their kinds.
template <class Parser> class Renamed : public Parser {
  public:
    explicit Renamed(u32 id) : m_id(id) {}
    u32 GetType() const override { return m_id; }

  private:
    u32 m_id;
};

} // namespace

gprDialogParser::gprDialogParser() {
    s_dialog = gprLookUpKeyword("Dialog");
    s_ok = gprLookUpKeyword("OkButton");
    s_cancel = gprLookUpKeyword("CancelButton");
    s_background = gprLookUpKeyword("Background");
}

bool gprDialogParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    if (id == s_ok || id == s_cancel) {
        gprButtonParser button;
        LoadNamedChild(button, id, id == s_ok ? "Ok" : "Cancel", reader, parent);
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
    if (id == s_ok || id == s_cancel) {
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
    const auto* dialog = dynamic_cast<const guiDialog*>(child->GetParent());
    if (dialog && (child == dialog->GetOk() || child == dialog->GetCancel())) {
        Renamed<gprButtonParser>(child == dialog->GetOk() ? s_ok : s_cancel).Save(version, writer, child);
    } else if (dialog && child == dialog->GetBackground()) {
        Renamed<gprImageParser>(s_background).Save(version, writer, child);
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
