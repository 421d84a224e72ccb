#include "Engine/GUI/Gpr/gprTextParser.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprWidgetTargets.h"
#include "Engine/GUI/Gui/guiScriptTargets.h"
#include "Engine/GUI/Gui/guiWindow.h"

namespace {

// Font sizes are cell heights in pixels; anything outside these is a slip of the pen.
constexpr i32 kSmallestFont = 1;
constexpr i32 kLargestFont = 600;

// The font of a face name or of a font-name table entry, with one use for the widget; a null font
// (nothing applied) for a size out of range.
g2dFont ReadFont(chReader& reader, bool byNumber, const guiWindow* target) {
    std::string face;
    i32 number = 0;
    if (byNumber)
        reader.ReadInt32(&number);
    else
        reader.ReadString(face);
    i32 size = 0;
    reader.ReadInt32(&size);
    if (size < kSmallestFont || size > kLargestFont) {
        DBG_WARNING("Text w/ ID: %s asks for a font of size %d; not applied", target->GetName().c_str(),
                    size);
        return g2dFont();
    }
    return byNumber ? g2dFont::GetByTextId(static_cast<u32>(number), size)
                    : g2dFont::Get(envString(face.c_str()), size);
}

// "StateFontNum" / "DefaultFontNum" for a face from the font-name table, otherwise the face's name;
// nothing for a font the table cannot describe.
void WriteFont(chWriter& writer, u32 byName, u32 byNumber, u16 version, g2dFont font,
               const std::string* state) {
    envString face;
    i32 size = 0, textId = -1;
    if (!font || !g2dFont::GetInfo(font, face, size, textId))
        return;
    writer.BeginChunk(textId >= 0 ? byNumber : byName, version, false);
    if (textId >= 0)
        writer.WriteInt32(textId);
    else
        writer.WriteString(envStringToNarrow(face));
    writer.WriteInt32(size);
    if (state)
        writer.WriteString(*state);
    writer.EndChunk();
}

// The first number of the installed text set whose text equals the text.
bool FindTextNumber(const envString& text, u32& number) {
    const gfTextSet* texts = gprGetTextSet();
    if (!texts)
        return false;
    for (const auto& [id, entry] : texts->GetTexts())
        if (entry == text) {
            number = id;
            return true;
        }
    return false;
}

} // namespace

gprTextParser::gprTextParser() {
    s_text = gprLookUpKeyword("Text");
    s_staticText = gprLookUpKeyword("StaticText");
    s_stateColor = gprLookUpKeyword("StateColor");
    s_stateFont = gprLookUpKeyword("StateFont");
    s_stateFontNum = gprLookUpKeyword("StateFontNum");
    s_defaultColor = gprLookUpKeyword("DefaultColor");
    s_defaultFont = gprLookUpKeyword("DefaultFont");
    s_defaultFontNum = gprLookUpKeyword("DefaultFontNum");
    s_defaultXOffset = gprLookUpKeyword("DefaultXOffset");
    s_textureSize = gprLookUpKeyword("TextureSize");
    s_wordWrap = gprLookUpKeyword("WordWrap");
    s_staticTextNum = gprLookUpKeyword("StaticTextNum");
}

void gprTextParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    const bool own = id == s_staticText || id == s_stateColor || id == s_stateFont || id == s_stateFontNum ||
                     id == s_defaultColor || id == s_defaultFont || id == s_defaultFontNum ||
                     id == s_defaultXOffset || id == s_textureSize || id == s_wordWrap ||
                     id == s_staticTextNum;
    if (!own) {
        gprMaterialParser::LoadProperty(id, version, size, reader, target);
        return;
    }
    auto& text = dynamic_cast<guiTextTarget&>(*target);
    if (id == s_staticText) {
        std::string value;
        reader.ReadString(value);
        text.SetText(Widen(value), ReadState(reader));
    } else if (id == s_stateColor) {
        const std::array<u8, 3> rgb = ReadColor(reader);
        text.SetTextColor(rgb, ReadState(reader));
    } else if (id == s_stateFont || id == s_stateFontNum) {
        const g2dFont font = ReadFont(reader, id == s_stateFontNum, target);
        const i32 state = ReadState(reader);
        if (font)
            text.SetFont(font, state);
    } else if (id == s_defaultColor) {
        text.SetDefaultColor(ReadColor(reader));
    } else if (id == s_defaultFont || id == s_defaultFontNum) {
        if (const g2dFont font = ReadFont(reader, id == s_defaultFontNum, target))
            text.SetDefaultFont(font);
    } else if (id == s_defaultXOffset) {
        i32 offset = 0;
        reader.ReadInt32(&offset);
        text.SetDefaultXOffset(offset);
    } else if (id == s_textureSize) {
        i32 width = 0, height = 0;
        reader.ReadInt32(&width);
        reader.ReadInt32(&height);
        // Old boards took no texture longer than eight times its height; the widget refuses sizes below 1.
        if (width >= 1 && height >= 1 && (width / height > 8 || height / width > 8))
            DBG_WARNING(
                "Text w/ ID: %s had its texture set to Width: %d, Height %d, which is too great an aspect "
                "ratio, must be 8 or less.",
                target->GetName().c_str(), width, height);
        text.SetTextureSize(width, height);
    } else if (id == s_wordWrap) {
        i8 flag = 0;
        reader.ReadInt8(&flag);
        text.SetWordWrap(flag != 0 ? 1 : 0);
    } else {
        i32 number = 0;
        reader.ReadInt32(&number);
        const i32 state = ReadState(reader);
        const gfTextSet* texts = gprGetTextSet();
        if (!texts) {
            DBG_WARNING("Text w/ ID: %s names text %d, but no text set is installed; not applied",
                        target->GetName().c_str(), number);
            return;
        }
        text.SetText(texts->GetText(static_cast<u32>(number)), state);
    }
}

void gprTextParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    const auto& text = dynamic_cast<const guiTextTarget&>(*window);
    const auto& material = dynamic_cast<const guiMaterialTarget&>(*window);
    writer.BeginChunk(s_wordWrap, version, false);
    writer.WriteInt8(text.GetWordWrap() != 0 ? 1 : 0);
    writer.EndChunk();

    writer.BeginChunk(s_defaultColor, version, false);
    WriteColor(writer, text.GetDefaultColor());
    writer.EndChunk();

    WriteFont(writer, s_defaultFont, s_defaultFontNum, version, text.GetDefaultFont(), nullptr);

    writer.BeginChunk(s_defaultXOffset, version, false);
    writer.WriteInt32(text.GetDefaultXOffset());
    writer.EndChunk();

    i32 width = 0, height = 0;
    text.GetTextureSize(width, height);
    writer.BeginChunk(s_textureSize, version, false);
    writer.WriteInt32(width);
    writer.WriteInt32(height);
    writer.EndChunk();

    for (i32 state : KnownStates()) {
        if (!material.HasStateMaterial(state))
            continue;
        const std::string name = SavedStateName(state);
        // The text colour, which "StateColor" loads, so a saved widget loads with the colours it had.
        writer.BeginChunk(s_stateColor, version, false);
        WriteColor(writer, text.GetTextColor(state));
        writer.WriteString(name);
        writer.EndChunk();

        WriteFont(writer, s_stateFont, s_stateFontNum, version, text.GetFont(state), &name);

        const envString value = text.GetText(state);
        if (value.GetLength() == 0)
            continue;
        u32 number = 0;
        if (FindTextNumber(value, number)) {
            writer.BeginChunk(s_staticTextNum, version, false);
            writer.WriteInt32(static_cast<i32>(number));
        } else {
            writer.BeginChunk(s_staticText, version, false);
            writer.WriteString(envStringToNarrow(value));
        }
        writer.WriteString(name);
        writer.EndChunk();
    }
    gprMaterialParser::SaveProperties(version, writer, window);
}

void gprTextParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_staticText)
        CopyValues(reader, writer, "ss");
    else if (id == s_stateColor)
        CopyValues(reader, writer, "iiis");
    else if (id == s_stateFont)
        CopyValues(reader, writer, "sis");
    else if (id == s_stateFontNum)
        CopyValues(reader, writer, "iis");
    else if (id == s_defaultColor)
        CopyValues(reader, writer, "iii");
    else if (id == s_defaultFont)
        CopyValues(reader, writer, "si");
    else if (id == s_defaultFontNum || id == s_textureSize)
        CopyValues(reader, writer, "ii");
    else if (id == s_defaultXOffset)
        CopyValues(reader, writer, "i");
    else if (id == s_wordWrap)
        CopyValues(reader, writer, "b");
    else if (id == s_staticTextNum)
        CopyValues(reader, writer, "is");
    else
        gprMaterialParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprTextParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiTextTarget*>(window) != nullptr;
}

guiWindow* gprTextParser::CreateWidget() const {
    return gprMakeWidget("Text");
}

u32 gprScrollingTextParser::GetType() const {
    return gprLookUpKeyword("ScrollingText");
}

bool gprScrollingTextParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiScrollingTextTarget*>(window) != nullptr;
}

guiWindow* gprScrollingTextParser::CreateWidget() const {
    return gprMakeWidget("ScrollingText");
}
