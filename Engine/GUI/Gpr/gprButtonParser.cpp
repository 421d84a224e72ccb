#include "Engine/GUI/Gpr/gprButtonParser.h"

#include "Engine/GUI/Gpr/gprImageParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprTextParser.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"

#include <array>
#include <memory>

namespace {

constexpr std::array<const char*, 5> kPositioningNames{"Center", "Above", "Right", "Below", "Left"};

bool ReadFlag(chReader& reader) {
    i8 flag = 0;
    reader.ReadInt8(&flag);
    return flag != 0;
}

void WriteFlag(chWriter& writer, u32 id, u16 version, bool on) {
    writer.BeginChunk(id, version, false);
    writer.WriteInt8(on ? 1 : 0);
    writer.EndChunk();
}

} // namespace

gprButtonParser::gprButtonParser() {
    s_button = gprLookUpKeyword("Button");
    s_image = gprLookUpKeyword("Image");
    s_text = gprLookUpKeyword("Text");
    s_textPositioning = gprLookUpKeyword("TextPositioning");
    s_textPercentage = gprLookUpKeyword("TextPercentage");
    s_imagePercentage = gprLookUpKeyword("ImagePercentage");
}

i32 gprButtonParser::PositioningOfName(const std::string& name) {
    for (size_t i = 0; i < kPositioningNames.size(); ++i)
        if (name == kPositioningNames[i])
            return static_cast<i32>(i);
    return 0;
}

const char* gprButtonParser::NameOfPositioning(i32 positioning) {
    return positioning >= 0 && positioning < static_cast<i32>(kPositioningNames.size())
               ? kPositioningNames[static_cast<size_t>(positioning)]
               : kPositioningNames[0];
}

bool gprButtonParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    if (id == s_image) {
        gprImageParser image;
        LoadNamedChild(image, id, "Image", reader, parent);
        return true;
    }
    if (id == s_text) {
        gprTextParser text;
        LoadNamedChild(text, id, "Text", reader, parent);
        return true;
    }
    return gprContainerParser::LoadChild(id, version, size, reader, parent);
}

bool gprButtonParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_image) {
        gprImageParser image;
        TranslateObject(image, id, version, reader, writer);
        return true;
    }
    if (id == s_text) {
        gprTextParser text;
        TranslateObject(text, id, version, reader, writer);
        return true;
    }
    return gprContainerParser::TranslateChild(id, version, size, reader, writer);
}

void gprButtonParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id == s_textPositioning) {
        std::string name;
        reader.ReadString(name);
        dynamic_cast<guiButton&>(*target).SetTextPositioning(PositioningOfName(name));
    } else if (id == s_textPercentage || id == s_imagePercentage) {
        auto& button = dynamic_cast<guiButton&>(*target);
        const bool text = id == s_textPercentage;
        f32 pair[2] = {};
        if (!ReadFinite(reader, pair, 2, target, text ? "TextPercentage" : "ImagePercentage"))
            return;
        // Each keyword replaces one pair; the other stays as the button holds it.
        f32 layout[4] = {};
        button.GetLayout(layout[0], layout[1], layout[2], layout[3]);
        layout[text ? 2 : 0] = pair[0];
        layout[text ? 3 : 1] = pair[1];
        button.SetLayout(layout[0], layout[1], layout[2], layout[3]);
    } else {
        gprContainerParser::LoadProperty(id, version, size, reader, target);
    }
}

void gprButtonParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    const auto& button = dynamic_cast<const guiButton&>(*window);
    writer.BeginChunk(s_textPositioning, version, false);
    writer.WriteString(NameOfPositioning(button.GetTextPositioning()));
    writer.EndChunk();
    f32 layout[4] = {};
    button.GetLayout(layout[0], layout[1], layout[2], layout[3]);
    writer.BeginChunk(s_textPercentage, version, false);
    writer.WriteFloat(layout[2]);
    writer.WriteFloat(layout[3]);
    writer.EndChunk();
    writer.BeginChunk(s_imagePercentage, version, false);
    writer.WriteFloat(layout[0]);
    writer.WriteFloat(layout[1]);
    writer.EndChunk();
    gprContainerParser::SaveProperties(version, writer, window);
}

void gprButtonParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_textPositioning)
        CopyValues(reader, writer, "s");
    else if (id == s_textPercentage || id == s_imagePercentage)
        CopyValues(reader, writer, "ff");
    else
        gprContainerParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprButtonParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiButton*>(window) != nullptr;
}

guiWindow* gprButtonParser::CreateWidget() const {
    return new guiButton;
}

gprCheckboxParser::gprCheckboxParser() {
    s_checkbox = gprLookUpKeyword("Checkbox");
    s_checked = gprLookUpKeyword("Checked");
    gprSetNamedValue("Checked", 6);
    gprSetNamedValue("CheckedOver", 7);
    gprSetNamedValue("CheckedReleased", 8);
    gprSetNamedValue("CheckedPressed", 9);
    gprSetNamedValue("CheckedHeld", 10);
    gprSetNamedValue("CheckedDisabled", 11);
}

void gprCheckboxParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id == s_checked)
        dynamic_cast<guiCheckbox&>(*target).SetChecked(ReadFlag(reader));
    else
        gprButtonParser::LoadProperty(id, version, size, reader, target);
}

void gprCheckboxParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    WriteFlag(writer, s_checked, version, dynamic_cast<const guiCheckbox&>(*window).IsChecked());
    gprButtonParser::SaveProperties(version, writer, window);
}

void gprCheckboxParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_checked)
        CopyValues(reader, writer, "b");
    else
        gprButtonParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprCheckboxParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiCheckbox*>(window) != nullptr;
}

guiWindow* gprCheckboxParser::CreateWidget() const {
    return new guiCheckbox;
}

gprRadioGroupParser::gprRadioGroupParser() {
    s_radioGroup = gprLookUpKeyword("RadioGroup");
    s_checkbox = gprLookUpKeyword("Checkbox");
    s_spacing = gprLookUpKeyword("Spacing");
    s_autoPositioning = gprLookUpKeyword("AutoPositioning");
    s_autoSizing = gprLookUpKeyword("AutoSizing");
}

bool gprRadioGroupParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    if (id != s_checkbox)
        return gprContainerParser::LoadChild(id, version, size, reader, parent);
    auto& group = dynamic_cast<guiRadioGroup&>(*parent);
    // The group names and places the button first, so the script's keywords override that.
    auto* button = new guiCheckbox;
    group.AddButton(button);
    gprCheckboxParser checkbox;
    checkbox.Load(reader, button);
    return true;
}

bool gprRadioGroupParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id != s_checkbox)
        return gprContainerParser::TranslateChild(id, version, size, reader, writer);
    gprCheckboxParser checkbox;
    TranslateObject(checkbox, id, version, reader, writer);
    return true;
}

void gprRadioGroupParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id == s_spacing) {
        i32 spacing = 0;
        reader.ReadInt32(&spacing);
        dynamic_cast<guiRadioGroup&>(*target).SetSpacing(spacing);
    } else if (id == s_autoPositioning) {
        dynamic_cast<guiRadioGroup&>(*target).SetAutoPositioning(ReadFlag(reader));
    } else if (id == s_autoSizing) {
        dynamic_cast<guiRadioGroup&>(*target).SetAutoSizing(ReadFlag(reader));
    } else {
        gprContainerParser::LoadProperty(id, version, size, reader, target);
    }
}

void gprRadioGroupParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    const auto& group = dynamic_cast<const guiRadioGroup&>(*window);
    writer.BeginChunk(s_spacing, version, false);
    writer.WriteInt32(group.GetSpacing());
    writer.EndChunk();
    WriteFlag(writer, s_autoPositioning, version, group.GetAutoPositioning());
    WriteFlag(writer, s_autoSizing, version, group.GetAutoSizing());
    gprContainerParser::SaveProperties(version, writer, window);
}

void gprRadioGroupParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader,
                                            chWriter& writer) {
    if (id == s_spacing)
        CopyValues(reader, writer, "i");
    else if (id == s_autoPositioning || id == s_autoSizing)
        CopyValues(reader, writer, "b");
    else
        gprContainerParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprRadioGroupParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiRadioGroup*>(window) != nullptr;
}

guiWindow* gprRadioGroupParser::CreateWidget() const {
    return new guiRadioGroup;
}
