#include "Engine/GUI/Gpr/gprSliderParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprAssociatedControlParser.h"
#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Xui/xuiSliderComposite.h"

gprSliderParser::gprSliderParser() {
    s_slider = gprLookUpKeyword("Slider");
    s_thumb = gprLookUpKeyword("Thumb");
    s_background = gprLookUpKeyword("Background");
    s_thumbOffset = gprLookUpKeyword("ThumbOffset");
    s_backgroundConstraint = gprLookUpKeyword("BackgroundConstraint");
    s_thumbPos = gprLookUpKeyword("ThumbPos");
    s_axis = gprLookUpKeyword("Axis");
}

bool gprSliderParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    if (id != s_thumb && id != s_background)
        return gprContainerParser::LoadChild(id, version, size, reader, parent);
    gprImageParser image;
    LoadNamedChild(image, id, id == s_thumb ? "Thumb" : "Background", reader, parent);
    return true;
}

bool gprSliderParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id != s_thumb && id != s_background)
        return gprContainerParser::TranslateChild(id, version, size, reader, writer);
    gprImageParser image;
    TranslateObject(image, id, version, reader, writer);
    return true;
}

void gprSliderParser::SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) {
    const auto& slider = dynamic_cast<const guiSlider&>(*child->GetParent());
    const bool thumb = child == slider.GetThumb();
    if (!thumb && child != slider.GetBackground()) {
        gprContainerParser::SaveChildWindow(version, writer, child);
        return;
    }
    gprImageParser image;
    writer.BeginChunk(thumb ? s_thumb : s_background, version, true);
    image.SaveProperties(version, writer, child);
    writer.EndChunk();
}

void gprSliderParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id == s_thumbOffset || id == s_backgroundConstraint) {
        i32 values[2] = {};
        reader.ReadInt32(&values[0]);
        reader.ReadInt32(&values[1]);
        auto& slider = dynamic_cast<guiSlider&>(*target);
        if (id == s_thumbOffset)
            slider.SetThumbOffset(values[0], values[1]);
        else
            slider.SetBackgroundConstraint(values[0], values[1]);
    } else if (id == s_thumbPos) {
        f32 value = 0.0f;
        if (ReadFinite(reader, &value, 1, target, "ThumbPos"))
            dynamic_cast<guiSlider&>(*target).SetValue(value);
    } else if (id == s_axis) {
        std::string name;
        reader.ReadString(name);
        dynamic_cast<guiSlider&>(*target).SetAxis(name == "Vertical" ? 2 : 1);
    } else {
        gprContainerParser::LoadProperty(id, version, size, reader, target);
    }
}

void gprSliderParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    const auto& slider = dynamic_cast<const guiSlider&>(*window);
    i32 values[2] = {};
    slider.GetThumbOffset(values[0], values[1]);
    writer.BeginChunk(s_thumbOffset, version, false);
    writer.WriteInt32(values[0]);
    writer.WriteInt32(values[1]);
    writer.EndChunk();
    slider.GetBackgroundConstraint(values[0], values[1]);
    writer.BeginChunk(s_backgroundConstraint, version, false);
    writer.WriteInt32(values[0]);
    writer.WriteInt32(values[1]);
    writer.EndChunk();
    writer.BeginChunk(s_thumbPos, version, false);
    writer.WriteFloat(slider.GetValue());
    writer.EndChunk();
    writer.BeginChunk(s_axis, version, false);
    writer.WriteString(slider.GetAxis() == 2 ? "Vertical" : "Horizontal");
    writer.EndChunk();
    gprContainerParser::SaveProperties(version, writer, window);
}

void gprSliderParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_thumbOffset || id == s_backgroundConstraint)
        CopyValues(reader, writer, "ii");
    else if (id == s_thumbPos)
        CopyValues(reader, writer, "f");
    else if (id == s_axis)
        CopyValues(reader, writer, "s");
    else
        gprContainerParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprSliderParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiSlider*>(window) != nullptr;
}

guiWindow* gprSliderParser::CreateWidget() const {
    return new guiSlider;
}

gprSliderCompositeParser::gprSliderCompositeParser() {
    s_composite = gprLookUpKeyword("SliderComposite");
    s_increase = gprLookUpKeyword("Increase");
    s_decrease = gprLookUpKeyword("Decrease");
}

bool gprSliderCompositeParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    if (id != s_increase && id != s_decrease)
        return gprSliderParser::LoadChild(id, version, size, reader, parent);
    auto& composite = dynamic_cast<xuiSliderComposite&>(*parent);
    gprAssociatedControlDeltaFloatParser stepper;
    stepper.Load(reader, parent);
    auto record = stepper.TakeRecord();
    if (!record->control) {
        DBG_WARNING("\"%s\" of \"%s\" holds no widget; skipped", gprKeywordOfId(id).c_str(),
                    composite.GetName().c_str());
        return true;
    }
    const f32 delta = static_cast<xuiAssociatedControlDeltaFloat&>(*record).delta;
    composite.AddAssociatedControl(record->control.release(), delta,
                                   id == s_increase ? xuiSliderComposite::kIncrease
                                                    : xuiSliderComposite::kDecrease);
    return true;
}

bool gprSliderCompositeParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader,
                                              chWriter& writer) {
    if (id != s_increase && id != s_decrease)
        return gprSliderParser::TranslateChild(id, version, size, reader, writer);
    gprAssociatedControlDeltaFloatParser stepper;
    TranslateObject(stepper, id, version, reader, writer);
    return true;
}

bool gprSliderCompositeParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<xuiSliderComposite*>(window) != nullptr;
}

guiWindow* gprSliderCompositeParser::CreateWidget() const {
    return new xuiSliderComposite;
}
