#include "Engine/GUI/Gpr/gprComboBoxParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprAssociatedControlParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Xui/xuiComboBox.h"

#include <memory>

gprComboBoxParser::gprComboBoxParser() {
    s_comboBox = gprLookUpKeyword("ComboBox");
    s_results = gprLookUpKeyword("Results");
    s_dropDown = gprLookUpKeyword("DropDown");
    s_scrollView = gprLookUpKeyword("ScrollView");
}

bool gprComboBoxParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    auto* box = dynamic_cast<xuiComboBox*>(parent);
    if (box && id == s_results) {
        // Only a chunk that was begun is ended, so an empty "Results" leaves the walk where it was.
        u32 childId = 0, childSize = 0;
        u16 childVersion = 0;
        if (!reader.BeginChunk(&childId, &childVersion, &childSize))
            return true;
        std::unique_ptr<guiWindow> results(
            gprParserUtil::LoadChild(childId, childVersion, childSize, reader));
        reader.EndChunk();
        if (results && !dynamic_cast<guiContainer*>(results.get())) {
            DBG_WARNING("\"Results\" of \"%s\" is no container; it is dropped", box->GetName().c_str());
            return true;
        }
        if (results)
            box->SetResults(results.release());
        return true;
    }
    if (box && (id == s_dropDown || id == s_scrollView)) {
        gprAssociatedControlParser associated;
        associated.Load(reader, parent);
        const std::unique_ptr<xuiAssociatedControl> record = associated.TakeRecord();
        if (!record || !record->control)
            return true;
        const xuiComboBox::ChildRecord child{record->position, record->control.release(), nullptr};
        if (id == s_dropDown)
            box->SetDropDown(child);
        else
            box->SetScrollView(child);
        return true;
    }
    return gprContainerParser::LoadChild(id, version, size, reader, parent);
}

bool gprComboBoxParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_results) {
        writer.BeginChunk(id, version, true);
        u32 childId = 0, childSize = 0;
        u16 childVersion = 0;
        if (reader.BeginChunk(&childId, &childVersion, &childSize)) {
            if (gprParserUtil::TranslateChild(childId, childVersion, childSize, reader, writer))
                writer.EndChunk();
            reader.EndChunk();
        }
        return true;
    }
    if (id == s_dropDown || id == s_scrollView) {
        gprAssociatedControlParser associated;
        TranslateObject(associated, id, version, reader, writer);
        return true;
    }
    return gprContainerParser::TranslateChild(id, version, size, reader, writer);
}

bool gprComboBoxParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<xuiComboBox*>(window) != nullptr;
}

guiWindow* gprComboBoxParser::CreateWidget() const {
    return new xuiComboBox;
}
