#include "Engine/GUI/Gpr/gprAssociatedControlParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gnf/gnfView.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"

#include <array>
#include <cmath>

gprAssociatedControlParser::gprAssociatedControlParser() {
    s_associatedControl = gprLookUpKeyword("AssociatedControl");
    s_controlPosition = gprLookUpKeyword("ControlPosition");
}

void gprAssociatedControlParser::Load(chReader& reader, guiWindow* parent) {
    m_record = NewRecord();
    gprParser::Load(reader, parent);
}

i32 gprAssociatedControlParser::PositionOfName(const std::string& name) {
    constexpr std::array<const char*, 4> names{"Left", "Right", "Top", "Bottom"};
    for (size_t i = 0; i < names.size(); ++i)
        if (name == names[i])
            return static_cast<i32>(i);
    return 4;
}

bool gprAssociatedControlParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader,
                                           guiWindow* parent) {
    std::unique_ptr<guiWindow> widget(gprParserUtil::LoadChild(id, version, size, reader));
    if (!widget)
        return false;
    if (Record().control)
        DBG_WARNING("\"%s\" of \"%s\": a further widget replaces \"%s\"", gprKeywordOfId(GetType()).c_str(),
                    parent ? parent->GetName().c_str() : "", Record().control->GetName().c_str());
    Record().view = dynamic_cast<gnfView*>(widget.get());
    Record().control = std::move(widget);
    return true;
}

bool gprAssociatedControlParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader,
                                                chWriter& writer) {
    return gprParserUtil::TranslateChild(id, version, size, reader, writer);
}

void gprAssociatedControlParser::LoadProperty(u32 id, u16, u32, chReader& reader, guiWindow*) {
    if (id != s_controlPosition)
        return;
    std::string name;
    reader.ReadString(name);
    Record().position = PositionOfName(name);
}

void gprAssociatedControlParser::TranslateProperty(u32 id, u16, u32, chReader& reader, chWriter& writer) {
    if (id == s_controlPosition)
        CopyValues(reader, writer, "s");
}

std::unique_ptr<xuiAssociatedControl> gprAssociatedControlParser::NewRecord() const {
    return std::make_unique<xuiAssociatedControl>();
}

gprAssociatedControlDeltaFloatParser::gprAssociatedControlDeltaFloatParser() {
    s_deltaFloat = gprLookUpKeyword("AssociatedControlDeltaFloat");
    s_deltaValue = gprLookUpKeyword("DeltaValue");
}

void gprAssociatedControlDeltaFloatParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader,
                                                        guiWindow* target) {
    if (id != s_deltaValue) {
        gprAssociatedControlParser::LoadProperty(id, version, size, reader, target);
        return;
    }
    f32 delta = 0.0f;
    reader.ReadFloat(&delta);
    if (!std::isfinite(delta)) {
        DBG_WARNING("\"DeltaValue\" is not a finite number; the step stays %g",
                    static_cast<xuiAssociatedControlDeltaFloat&>(Record()).delta);
        return;
    }
    static_cast<xuiAssociatedControlDeltaFloat&>(Record()).delta = delta;
}

void gprAssociatedControlDeltaFloatParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader,
                                                             chWriter& writer) {
    if (id == s_deltaValue)
        CopyValues(reader, writer, "f");
    else
        gprAssociatedControlParser::TranslateProperty(id, version, size, reader, writer);
}

std::unique_ptr<xuiAssociatedControl> gprAssociatedControlDeltaFloatParser::NewRecord() const {
    return std::make_unique<xuiAssociatedControlDeltaFloat>();
}
