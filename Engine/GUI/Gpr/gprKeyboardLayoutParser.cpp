#include "Engine/GUI/Gpr/gprKeyboardLayoutParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeyNames.h"
#include "Engine/GUI/Gpr/gprKeyPrototypeParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"

#include <array>
#include <cmath>

gprKeyboardLayoutParser::gprKeyboardLayoutParser() {
    s_standardLayoutSize = gprLookUpKeyword("StandardLayoutSize");
    s_layoutDirection = gprLookUpKeyword("LayoutDirection");
    s_characterSetPath = gprLookUpKeyword("CharacterSetPath");
}

i32 gprKeyboardLayoutParser::DirectionOfName(const std::string& name) {
    constexpr std::array<const char*, 3> names{"LeftToRight", "RightToLeft", "TopToBottom"};
    for (size_t i = 0; i < names.size(); ++i)
        if (name == names[i])
            return static_cast<i32>(i);
    return xuiLeftToRight;
}

void gprKeyboardLayoutParser::LoadProperty(u32 id, u16, u32, chReader& reader, guiWindow*) {
    if (!m_layout)
        return;
    if (id == s_standardLayoutSize) {
        i32 width = 0, height = 0;
        reader.ReadInt32(&width);
        reader.ReadInt32(&height);
        m_layout->SetStandardLayoutSize(width, height);
    } else if (id == s_layoutDirection || id == s_characterSetPath) {
        std::string text;
        reader.ReadString(text);
        if (id == s_layoutDirection) {
            m_layout->SetLayoutDirection(DirectionOfName(text));
        } else {
            fsLocator file;
            gprParserUtil::ResolveScriptPath(text, file);
            m_layout->SetCharacterSetPath(file);
        }
    }
}

void gprKeyboardLayoutParser::TranslateProperty(u32 id, u16, u32, chReader& reader, chWriter& writer) {
    if (id == s_standardLayoutSize)
        CopyValues(reader, writer, "ii");
    else if (id == s_layoutDirection || id == s_characterSetPath)
        CopyValues(reader, writer, "s");
}

gprKeyboardLayoutGridParser::gprKeyboardLayoutGridParser() {
    s_layoutGrid = gprLookUpKeyword("LayoutGrid");
    s_layoutToggleVal = gprLookUpKeyword("LayoutToggleVal");
    s_numColumns = gprLookUpKeyword("NumColumns");
    s_offsetPosition = gprLookUpKeyword("OffsetPosition");
    s_keyPrototypeStandard = gprLookUpKeyword("KeyPrototypeStandard");
}

void gprKeyboardLayoutGridParser::Load(chReader& reader, guiWindow* parent) {
    m_toggleValue = 0;
    m_grid = std::make_unique<xuiKeyboardLayoutGrid>();
    SetTarget(&m_grid->GetLayout());
    gprParser::Load(reader, parent);
    SetTarget(nullptr);
    auto* keyboard = dynamic_cast<xuiOrderedKeyboard*>(parent);
    if (!keyboard)
        DBG_WARNING("\"LayoutGrid\" outside an \"OrderedKeyboard\"; the grid is dropped");
    else if (!keyboard->AddLayoutGrid(m_toggleValue, *m_grid))
        DBG_WARNING("\"%s\" holds a grid for toggle value %u already; the later one is dropped",
                    keyboard->GetName().c_str(), m_toggleValue);
    m_grid.reset();
}

bool gprKeyboardLayoutGridParser::LoadChild(u32 id, u16, u32, chReader& reader, guiWindow* parent) {
    if (id != s_keyPrototypeStandard || !m_grid)
        return false;
    gprKeyPrototypeStandardParser prototype;
    prototype.Load(reader, parent);
    m_grid->GetLayout().SetKeyPrototype(*prototype.GetTarget());
    return true;
}

bool gprKeyboardLayoutGridParser::TranslateChild(u32 id, u16 version, u32, chReader& reader,
                                                 chWriter& writer) {
    if (id != s_keyPrototypeStandard)
        return false;
    writer.BeginChunk(id, version, true);
    gprKeyPrototypeStandardParser prototype;
    prototype.Translate(reader, writer);
    return true;
}

void gprKeyboardLayoutGridParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader,
                                               guiWindow* parent) {
    if (!m_grid) {
        gprKeyboardLayoutParser::LoadProperty(id, version, size, reader, parent);
    } else if (id == s_layoutToggleVal) {
        std::string name;
        reader.ReadString(name);
        m_toggleValue |= gprToggleFlagOfName(name);
    } else if (id == s_numColumns) {
        i32 columns = 0;
        reader.ReadInt32(&columns);
        m_grid->SetNumColumns(columns);
    } else if (id == s_offsetPosition) {
        f32 at[3] = {};
        for (f32& value : at)
            reader.ReadFloat(&value);
        if (std::isfinite(at[0]) && std::isfinite(at[1]) && std::isfinite(at[2]))
            m_grid->SetOffsetPosition(at[0], at[1], at[2]);
        else
            DBG_WARNING("\"OffsetPosition\" of a layout grid is not finite; not applied");
    } else {
        gprKeyboardLayoutParser::LoadProperty(id, version, size, reader, parent);
    }
}

void gprKeyboardLayoutGridParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader,
                                                    chWriter& writer) {
    if (id == s_layoutToggleVal)
        CopyValues(reader, writer, "s");
    else if (id == s_numColumns)
        CopyValues(reader, writer, "i");
    else if (id == s_offsetPosition)
        CopyValues(reader, writer, "fff");
    else
        gprKeyboardLayoutParser::TranslateProperty(id, version, size, reader, writer);
}
