#include "Engine/GUI/Gpr/gprKeyPrototypeParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeyNames.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"

#include <cmath>

namespace {

// Font sizes are cell heights in pixels; anything outside these is a slip of the pen.
constexpr i32 kSmallestFont = 1;
constexpr i32 kLargestFont = 600;

// A float and a state name; false, with a warning, for a value that is not finite.
bool ReadStateValue(chReader& reader, const char* keyword, f32& value, i32& state) {
    reader.ReadFloat(&value);
    std::string name;
    reader.ReadString(name);
    state = gprStateNameToNumber(name);
    if (std::isfinite(value))
        return true;
    DBG_WARNING("\"%s\" of a key prototype is not a finite number; not applied", keyword);
    return false;
}

// Three channels, each the low byte of its number.
std::array<u8, 3> ReadRgb(chReader& reader) {
    std::array<u8, 3> rgb{};
    for (u8& channel : rgb) {
        i32 value = 0;
        reader.ReadInt32(&value);
        channel = static_cast<u8>(value & 0xFF);
    }
    return rgb;
}

} // namespace

gprKeyPrototypeStandardParser::gprKeyPrototypeStandardParser() {
    s_standard = gprLookUpKeyword("KeyPrototypeStandard");
    s_enableKey = gprLookUpKeyword("EnableKey");
    s_enableKeyText = gprLookUpKeyword("EnableKeyText");
    s_keySize = gprLookUpKeyword("KeySize");
    s_showText = gprLookUpKeyword("ShowText");
    s_textOffset = gprLookUpKeyword("TextOffset");
    s_textColor = gprLookUpKeyword("TextColor");
    s_textFont = gprLookUpKeyword("TextFont");
    s_textFontNum = gprLookUpKeyword("TextFontNum");
    s_transparencyMap = gprLookUpKeyword("MakeTransparencyMap");
    s_imageState = gprLookUpKeyword("ImageState");
    s_transparency = gprLookUpKeyword("Transparency");
    s_stateColor = gprLookUpKeyword("StateColor");
}

void gprKeyPrototypeStandardParser::Load(chReader& reader, guiWindow* parent) {
    m_target = NewTarget();
    gprParser::Load(reader, parent);
}

std::unique_ptr<xuiKeyPrototypeStandard> gprKeyPrototypeStandardParser::NewTarget() const {
    return std::make_unique<xuiKeyPrototypeStandard>();
}

void gprKeyPrototypeStandardParser::LoadProperty(u32 id, u16, u32, chReader& reader, guiWindow*) {
    xuiKeyPrototypeStandard& key = Target();
    i8 flag = 0;
    i32 a = 0, b = 0;
    if (id == s_enableKey || id == s_enableKeyText || id == s_showText) {
        reader.ReadInt8(&flag);
        if (id == s_enableKey)
            key.SetKeyEnabled(flag != 0);
        else if (id == s_enableKeyText)
            key.SetKeyTextEnabled(flag != 0);
        else
            key.SetShowText(flag != 0);
    } else if (id == s_keySize || id == s_textOffset) {
        reader.ReadInt32(&a);
        reader.ReadInt32(&b);
        if (id == s_keySize)
            key.SetKeySize(a, b);
        else
            key.SetTextOffset(static_cast<f32>(a), static_cast<f32>(b));
    } else if (id == s_textColor) {
        key.SetTextColor(ReadRgb(reader));
    } else if (id == s_stateColor) {
        const std::array<u8, 3> rgb = ReadRgb(reader);
        std::string state;
        reader.ReadString(state);
        key.SetStateTextColor(rgb, gprStateNameToNumber(state));
    } else if (id == s_textFont || id == s_textFontNum) {
        std::string face;
        if (id == s_textFont)
            reader.ReadString(face);
        else
            reader.ReadInt32(&a);
        reader.ReadInt32(&b);
        if (b < kSmallestFont || b > kLargestFont)
            DBG_WARNING("A key prototype asks for a font of size %d; not applied", b);
        else
            key.SetTextFont(id == s_textFont ? g2dFont::Get(envString(face.c_str()), b)
                                             : g2dFont::GetByTextId(static_cast<u32>(a), b));
    } else if (id == s_imageState) {
        std::string name, state;
        reader.ReadString(name);
        reader.ReadString(state);
        fsLocator file;
        gprParserUtil::ResolveScriptPath(name, file);
        key.SetImage(gprStateNameToNumber(state), file);
    } else if (id == s_transparency || id == s_transparencyMap) {
        f32 value = 0.0f;
        i32 state = 0;
        const bool map = id == s_transparencyMap;
        if (!ReadStateValue(reader, map ? "MakeTransparencyMap" : "Transparency", value, state))
            return;
        if (map)
            key.SetTransparencyMap(value, state);
        else
            key.SetTransparency(value, state);
    }
}

void gprKeyPrototypeStandardParser::TranslateProperty(u32 id, u16, u32, chReader& reader, chWriter& writer) {
    if (id == s_enableKey || id == s_enableKeyText || id == s_showText)
        CopyValues(reader, writer, "b");
    else if (id == s_keySize || id == s_textOffset || id == s_textFontNum)
        CopyValues(reader, writer, "ii");
    else if (id == s_textColor)
        CopyValues(reader, writer, "iii");
    else if (id == s_stateColor)
        CopyValues(reader, writer, "iiis");
    else if (id == s_textFont)
        CopyValues(reader, writer, "si");
    else if (id == s_imageState)
        CopyValues(reader, writer, "ss");
    else if (id == s_transparency || id == s_transparencyMap)
        CopyValues(reader, writer, "fs");
}

gprKeyPrototypeSpecialParser::gprKeyPrototypeSpecialParser() {
    s_special = gprLookUpKeyword("KeyPrototypeSpecial");
    s_position = gprLookUpKeyword("Position");
    s_keyLabel = gprLookUpKeyword("KeyLabel");
    s_keyId = gprLookUpKeyword("KeyId");
}

std::unique_ptr<xuiKeyPrototypeStandard> gprKeyPrototypeSpecialParser::NewTarget() const {
    return std::make_unique<xuiKeyPrototypeSpecial>();
}

void gprKeyPrototypeSpecialParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader,
                                                guiWindow* parent) {
    auto& key = static_cast<xuiKeyPrototypeSpecial&>(Target());
    if (id == s_position) {
        maVector3d at;
        reader.ReadFloat(&at.x);
        reader.ReadFloat(&at.y);
        reader.ReadFloat(&at.z);
        if (std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z))
            key.SetKeyPosition(at);
        else
            DBG_WARNING("\"Position\" of a key prototype is not finite; not applied");
    } else if (id == s_keyLabel || id == s_keyId) {
        std::string text;
        reader.ReadString(text);
        if (id == s_keyLabel)
            key.SetKeyLabel(envString(text.c_str()));
        else
            key.SetKeyId(gprKeyIdOfName(text));
    } else {
        gprKeyPrototypeStandardParser::LoadProperty(id, version, size, reader, parent);
    }
}

void gprKeyPrototypeSpecialParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader,
                                                     chWriter& writer) {
    if (id == s_position)
        CopyValues(reader, writer, "fff");
    else if (id == s_keyLabel || id == s_keyId)
        CopyValues(reader, writer, "s");
    else
        gprKeyPrototypeStandardParser::TranslateProperty(id, version, size, reader, writer);
}

gprKeyPrototypeToggleParser::gprKeyPrototypeToggleParser() {
    s_toggle = gprLookUpKeyword("KeyPrototypeToggle");
    s_toggleVal = gprLookUpKeyword("ToggleVal");
}

std::unique_ptr<xuiKeyPrototypeStandard> gprKeyPrototypeToggleParser::NewTarget() const {
    return std::make_unique<xuiKeyPrototypeToggle>();
}

void gprKeyPrototypeToggleParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader,
                                               guiWindow* parent) {
    if (id != s_toggleVal) {
        gprKeyPrototypeSpecialParser::LoadProperty(id, version, size, reader, parent);
        return;
    }
    std::string name;
    reader.ReadString(name);
    static_cast<xuiKeyPrototypeToggle&>(Target()).SetToggleValue(gprToggleFlagOfName(name));
}

void gprKeyPrototypeToggleParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader,
                                                    chWriter& writer) {
    if (id == s_toggleVal)
        CopyValues(reader, writer, "s");
    else
        gprKeyPrototypeSpecialParser::TranslateProperty(id, version, size, reader, writer);
}

gprKeyTogglePropertiesParser::gprKeyTogglePropertiesParser() {
    s_toggleOnce = gprLookUpKeyword("ToggleOnce");
}
