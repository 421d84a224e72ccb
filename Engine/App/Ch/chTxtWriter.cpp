#include "Engine/App/Ch/chTxtWriter.h"

#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTokenFile.h"
#include "Engine/Core/Env/dbgLog.h"

#include <charconv>

namespace {

std::string LowBytes(const char16_t* units, u32 count) {
    std::string text(count, '\0');
    for (u32 i = 0; i < count; ++i)
        text[i] = static_cast<char>(units[i] & 0xFF);
    return text;
}

} // namespace

chTxtWriter::chTxtWriter(gfFile* file) : m_file(file) {}

void chTxtWriter::BeginChunk(u32 id, u16, bool hasBody) {
    PutIndentation();
    // The name is the id's characters up to the first 0, which the reader fills back in.
    for (u32 i = 0; i < 4 && ((id >> (8 * i)) & 0xFF) != 0; ++i) {
        const char c = static_cast<char>((id >> (8 * i)) & 0xFF);
        Put(std::string_view(&c, 1));
    }
    if (hasBody) {
        Put("\r\n");
        PutIndentation();
        Put("{\r\n");
    } else {
        Put(" ");
    }
    m_hasBody.push_back(hasBody);
}

void chTxtWriter::EndChunk() {
    if (m_hasBody.empty()) {
        DBG_WARNING("EndChunk without an open chunk in a text chunk file; ignored");
        return;
    }
    Put("\r\n");
    const bool hasBody = m_hasBody.back();
    m_hasBody.pop_back();
    if (hasBody) {
        PutIndentation();
        Put("}\r\n");
    }
}

void chTxtWriter::WriteChars(const char16_t* units, u32 count) {
    PutValue(LowBytes(units, count));
}

void chTxtWriter::WriteString(const char16_t* units) {
    PutValue(LowBytes(units, chUnitCount(units)));
}

void chTxtWriter::WriteChars(const char* text, u32 count) {
    PutValue(std::string(text, count));
}
void chTxtWriter::WriteString(const char* text) {
    PutValue(text ? text : "");
}
void chTxtWriter::WriteBool(bool value) {
    WriteString(value ? "TRUE" : "FALSE");
}

void chTxtWriter::WriteDouble(f64 value) {
    // "%f" as the C locale prints it; the widest double needs some 320 characters.
    char text[400];
    const auto end = std::to_chars(text, text + sizeof(text) - 1, value, std::chars_format::fixed, 6).ptr;
    *end = ' ';
    Put(std::string_view(text, static_cast<size_t>(end - text) + 1));
}

void chTxtWriter::WriteFloat(f32 value) {
    WriteDouble(value);
}
void chTxtWriter::WriteUInt64(u64 value) {
    PutInteger(static_cast<i64>(value));
}
void chTxtWriter::WriteInt64(i64 value) {
    PutInteger(value);
}
void chTxtWriter::WriteUInt32(u32 value) {
    PutInteger(static_cast<i32>(value));
}
void chTxtWriter::WriteInt32(i32 value) {
    PutInteger(value);
}
void chTxtWriter::WriteUInt16(u16 value) {
    PutInteger(value);
}
void chTxtWriter::WriteInt16(i16 value) {
    PutInteger(value);
}
void chTxtWriter::WriteUInt8(u8 value) {
    PutInteger(value);
}
void chTxtWriter::WriteInt8(i8 value) {
    PutInteger(value);
}

const fsLocator& chTxtWriter::GetLocator() const {
    return m_file->GetLocator();
}

void chTxtWriter::Put(std::string_view text) {
    m_file->Write(static_cast<u32>(text.size()), text.data());
}

void chTxtWriter::PutIndentation() {
    // One TAB for every enclosing chunk with a body.
    for (bool hasBody : m_hasBody)
        if (hasBody)
            Put("\t");
}

void chTxtWriter::PutValue(const std::string& token) {
    gfWriteToken(*m_file, token);
    Put(" ");
}

void chTxtWriter::PutInteger(i64 value) {
    char text[24];
    char* end = std::to_chars(text, text + sizeof(text) - 1, value).ptr;
    *end = ' ';
    Put(std::string_view(text, static_cast<size_t>(end - text) + 1));
}
