#include "Engine/GUI/Gpr/gprScrollBoxParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprAssociatedControlParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"

#include <memory>

gprScrollBoxParser::gprScrollBoxParser() {
    s_scrollBox = gprLookUpKeyword("ScrollBox");
    s_associatedControl = gprLookUpKeyword("AssociatedControl");
}

bool gprScrollBoxParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    auto& box = dynamic_cast<xuiScrollBox&>(*parent);
    if (std::unique_ptr<guiWindow> widget{gprParserUtil::LoadChild(id, version, size, reader)}) {
        if (auto* view = dynamic_cast<gnfView*>(widget.get())) {
            box.SetView(view);
            widget.release();
        } else {
            guiWindowMgr::AddChildWindow(widget.release(), &box);
        }
        return true;
    }
    if (id != s_associatedControl)
        return false;
    gprAssociatedControlParser associated;
    associated.Load(reader, parent);
    const auto record = associated.TakeRecord();
    if (!record->control) {
        DBG_WARNING("\"AssociatedControl\" of \"%s\" holds no widget; skipped", box.GetName().c_str());
        return true;
    }
    // Keyed by the slider's own axis; a control that is no slider fails the load, the record freeing it.
    const i32 axis = dynamic_cast<guiSlider&>(*record->control).GetAxis();
    box.AddAssociatedControl(record->position, record->control.release(), axis);
    return true;
}

bool gprScrollBoxParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (gprParserUtil::TranslateChild(id, version, size, reader, writer))
        return true;
    if (id != s_associatedControl)
        return false;
    gprAssociatedControlParser associated;
    TranslateObject(associated, id, version, reader, writer);
    return true;
}

bool gprScrollBoxParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<xuiScrollBox*>(window) != nullptr;
}

guiWindow* gprScrollBoxParser::CreateWidget() const {
    return new xuiScrollBox;
}
