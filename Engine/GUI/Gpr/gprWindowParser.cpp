#include "Engine/GUI/Gpr/gprWindowParser.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiWindow.h"

#include <algorithm>
#include <cmath>

namespace {

i32 JustificationNumber(const std::string& name) {
    if (name == "Left")
        return guiJustifyLeft;
    if (name == "Right")
        return guiJustifyRight;
    if (name == "Top")
        return guiJustifyTop;
    if (name == "Bottom")
        return guiJustifyBottom;
    return guiJustifyCenter;
}

const char* JustificationName(i32 number) {
    switch (number) {
    case guiJustifyLeft:
        return "Left";
    case guiJustifyRight:
        return "Right";
    case guiJustifyTop:
        return "Top";
    case guiJustifyBottom:
        return "Bottom";
    default:
        return "Center";
    }
}

void WriteVector(chWriter& writer, const maVector3d& v) {
    writer.WriteFloat(v.x);
    writer.WriteFloat(v.y);
    writer.WriteFloat(v.z);
}

} // namespace

gprWindowParser::gprWindowParser() {
    s_window = gprLookUpKeyword("Window");
    s_id = gprLookUpKeyword("Id");
    s_state = gprLookUpKeyword("State");
    s_position = gprLookUpKeyword("Position");
    s_orientation = gprLookUpKeyword("Orientation");
    s_pivot = gprLookUpKeyword("PivotPoint");
    s_scale = gprLookUpKeyword("Scale");
    s_size = gprLookUpKeyword("Size");
    s_render = gprLookUpKeyword("Render");
    s_enable = gprLookUpKeyword("Enable");
    s_justification = gprLookUpKeyword("Justification");
    s_toolTipText = gprLookUpKeyword("ToolTipText");
    s_toolTipNum = gprLookUpKeyword("ToolTipNum");
}

void gprWindowParser::Save(u16 version, chWriter& writer, guiWindow* window) {
    writer.BeginChunk(GetType(), version, true);
    SaveProperties(version, writer, window);
    writer.EndChunk();
}

void gprWindowParser::LoadProperty(u32 id, u16, u32, chReader& reader, guiWindow* target) {
    if (id == s_id) {
        std::string name;
        reader.ReadString(name);
        target->SetName(name.c_str());
    } else if (id == s_state) {
        target->SetState(ReadState(reader));
    } else if (id == s_position || id == s_pivot || id == s_scale) {
        f32 v[3];
        const char* keyword = id == s_position ? "Position" : id == s_pivot ? "PivotPoint" : "Scale";
        if (!ReadFinite(reader, v, 3, target, keyword))
            return;
        const maVector3d vector(v[0], v[1], v[2]);
        if (id == s_position)
            target->SetPosition(vector);
        else if (id == s_pivot)
            target->SetPivotPoint(vector);
        else
            target->SetScale(vector);
    } else if (id == s_orientation) {
        f32 v[4];
        if (ReadFinite(reader, v, 4, target, "Orientation"))
            target->SetOrientation(maRotation(maVector3d(v[0], v[1], v[2]), v[3]));
    } else if (id == s_size) {
        i32 width = 0, height = 0;
        reader.ReadInt32(&width);
        reader.ReadInt32(&height);
        target->SetSize(width, height);
    } else if (id == s_render || id == s_enable) {
        i8 flag = 0;
        reader.ReadInt8(&flag);
        if (id == s_render)
            target->SetVisible(flag != 0);
        else
            target->SetEnabled(flag != 0);
    } else if (id == s_justification) {
        std::string horizontal, vertical;
        reader.ReadString(horizontal);
        reader.ReadString(vertical);
        target->SetJustification(JustificationNumber(horizontal), JustificationNumber(vertical));
    } else if (id == s_toolTipText) {
        std::string text;
        reader.ReadString(text);
        target->SetToolTipText(Widen(text));
    } else if (id == s_toolTipNum) {
        i32 number = -1;
        reader.ReadInt32(&number);
        target->SetToolTipNum(number);
        if (const gfTextSet* texts = gprGetTextSet())
            target->SetToolTipText(texts->GetText(static_cast<u32>(number)));
    }
}

void gprWindowParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    writer.BeginChunk(s_id, version, false);
    writer.WriteString(window->GetName());
    writer.EndChunk();

    writer.BeginChunk(s_position, version, false);
    WriteVector(writer, window->GetPosition());
    writer.EndChunk();

    // The axis of no rotation is any; z keeps the chunk a valid rotation of angle 0.
    const maRotation& q = window->GetOrientation();
    const maVector3d axis(q.x, q.y, q.z);
    const f32 length = axis.Length();
    writer.BeginChunk(s_orientation, version, false);
    WriteVector(writer, length > 0.0f ? axis / length : maVector3d(0.0f, 0.0f, 1.0f));
    writer.WriteFloat(2.0f * std::acos(std::clamp(q.w, -1.0f, 1.0f)));
    writer.EndChunk();

    writer.BeginChunk(s_pivot, version, false);
    WriteVector(writer, window->GetPivotPoint());
    writer.EndChunk();

    // The size sets the scale too, so it goes first: the loaded window gets the scale it had.
    i32 width = 0, height = 0;
    window->GetSize(width, height);
    writer.BeginChunk(s_size, version, false);
    writer.WriteInt32(width);
    writer.WriteInt32(height);
    writer.EndChunk();

    writer.BeginChunk(s_scale, version, false);
    WriteVector(writer, window->GetScale());
    writer.EndChunk();

    writer.BeginChunk(s_render, version, false);
    writer.WriteInt8(window->IsVisible() ? 1 : 0);
    writer.EndChunk();

    writer.BeginChunk(s_enable, version, false);
    writer.WriteInt8(window->IsEnabled() ? 1 : 0);
    writer.EndChunk();

    i32 horizontal = 0, vertical = 0;
    window->GetJustification(horizontal, vertical);
    writer.BeginChunk(s_justification, version, false);
    writer.WriteString(JustificationName(horizontal));
    writer.WriteString(JustificationName(vertical));
    writer.EndChunk();

    if (window->GetToolTipText().GetLength() > 0) {
        writer.BeginChunk(s_toolTipText, version, false);
        writer.WriteString(envStringToNarrow(window->GetToolTipText()));
        writer.EndChunk();
    } else if (window->GetToolTipNum() != -1) {
        writer.BeginChunk(s_toolTipNum, version, false);
        writer.WriteInt32(window->GetToolTipNum());
        writer.EndChunk();
    }
}

void gprWindowParser::TranslateProperty(u32 id, u16, u32, chReader& reader, chWriter& writer) {
    if (id == s_id || id == s_state || id == s_toolTipText)
        CopyValues(reader, writer, "s");
    else if (id == s_position || id == s_pivot || id == s_scale)
        CopyValues(reader, writer, "fff");
    else if (id == s_orientation)
        CopyValues(reader, writer, "ffff");
    else if (id == s_size)
        CopyValues(reader, writer, "ii");
    else if (id == s_render || id == s_enable)
        CopyValues(reader, writer, "b");
    else if (id == s_justification)
        CopyValues(reader, writer, "ss");
    else if (id == s_toolTipNum)
        CopyValues(reader, writer, "i");
}

bool gprWindowParser::CanHandle(guiWindow* window) const {
    return window != nullptr;
}

bool gprWindowParser::ReadFinite(chReader& reader, f32* values, u32 count, const guiWindow* target,
                                 const char* keyword) {
    bool finite = true;
    for (u32 i = 0; i < count; ++i) {
        reader.ReadFloat(&values[i]);
        finite = finite && std::isfinite(values[i]);
    }
    if (!finite)
        DBG_WARNING("Window %s: %s holds a number out of range; not applied", target->GetName().c_str(),
                    keyword);
    return finite;
}

std::array<u8, 3> gprWindowParser::ReadColor(chReader& reader) {
    std::array<u8, 3> rgb{};
    for (u8& channel : rgb) {
        i32 value = 0;
        reader.ReadInt32(&value);
        channel = static_cast<u8>(value);
    }
    return rgb;
}

void gprWindowParser::WriteColor(chWriter& writer, const std::array<u8, 3>& rgb) {
    for (u8 channel : rgb)
        writer.WriteInt32(channel);
}

i32 gprWindowParser::ReadState(chReader& reader) {
    std::string name;
    reader.ReadString(name);
    return gprStateNameToNumber(name);
}

envString gprWindowParser::Widen(const std::string& text) {
    envString out;
    for (char c : text)
        out.AppendChar(static_cast<u8>(c));
    return out;
}
