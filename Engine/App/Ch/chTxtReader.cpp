#include "Engine/App/Ch/chTxtReader.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTokenFile.h"
#include "Engine/Core/Env/dbgLog.h"

#include <cmath>
#include <limits>

namespace {

// Tokens end only by the break rule or the end of the data (a 0 byte ends the data too).
constexpr char kNoStop = 0;

bool EqualsIgnoringCase(const std::string& text, const char* upper) {
    size_t i = 0;
    for (; upper[i] != 0; ++i)
        if (i >= text.size() || (text[i] >= 'a' && text[i] <= 'z' ? text[i] - 32 : text[i]) != upper[i])
            return false;
    return i == text.size();
}

envString Widen(const std::string& text) {
    envString out;
    for (char c : text)
        out.AppendChar(static_cast<u8>(c));
    return out;
}

} // namespace

chTxtReader::chTxtReader(gfFile* file) : m_file(file) {}

bool chTxtReader::BeginChunk(u32* id, u16* version, u32* size) {
    u32 mark = m_file->Tell();
    std::string name;
    const gfTokenKind kind = gfReadTokenKind(*m_file, name, 0, kNoStop, true);
    if (kind == gfTokenKind::None)
        return false;
    if (kind == gfTokenKind::Plain && name == "}") {
        m_file->Seek(static_cast<i32>(mark), 0); // the enclosing EndChunk reads it
        return false;
    }
    *id = 0;
    for (size_t i = 0; i < name.size() && i < 4; ++i)
        *id |= static_cast<u32>(static_cast<u8>(name[i])) << (8 * i);
    if (m_tagMap) {
        const auto tag = m_tagMap->find(name);
        if (tag != m_tagMap->end())
            *id = tag->second;
    }
    *version = 0;
    *size = 0;

    mark = m_file->Tell();
    std::string brace;
    const bool hasBody =
        gfReadTokenKind(*m_file, brace, 0, kNoStop, true) == gfTokenKind::Plain && brace == "{";
    if (!hasBody)
        m_file->Seek(static_cast<i32>(mark), 0); // the token is the chunk's first value
    m_hasBody.push_back(hasBody);
    return true;
}

void chTxtReader::EndChunk() {
    if (m_hasBody.empty()) {
        DBG_WARNING("EndChunk without an entered chunk in a text chunk file; ignored");
        return;
    }
    if (m_hasBody.back()) {
        // Quoted braces are values, not structure.
        std::string token;
        for (u32 level = 1; level > 0;) {
            const gfTokenKind kind = gfReadTokenKind(*m_file, token, 0, kNoStop, true);
            if (kind == gfTokenKind::None) {
                m_unclosedBody = true;
                break;
            }
            if (kind == gfTokenKind::Plain && token == "{")
                ++level;
            else if (kind == gfTokenKind::Plain && token == "}")
                --level;
        }
    }
    m_hasBody.pop_back();
}

void chTxtReader::ReadChars(envString& out, u32 count) {
    out = Widen(ReadToken(count));
}

void chTxtReader::ReadString(envString& out) {
    out = Widen(ReadToken());
    out.AppendChar(0);
}

void chTxtReader::ReadChars(std::string& out, u32 count) {
    out = ReadToken(count);
}
void chTxtReader::ReadString(std::string& out) {
    out = ReadToken();
}
void chTxtReader::ReadBool(bool* value) {
    *value = EqualsIgnoringCase(ReadToken(), "TRUE");
}
void chTxtReader::ReadDouble(f64* value) {
    *value = ReadNumber();
}

void chTxtReader::ReadFloat(f32* value) {
    // Out of the float range is infinite, not an undefined conversion.
    const f64 number = ReadNumber();
    constexpr f32 infinity = std::numeric_limits<f32>::infinity();
    if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<f32>::max())
        *value = number > 0 ? infinity : -infinity;
    else
        *value = static_cast<f32>(number);
}

void chTxtReader::ReadUInt64(u64* value) {
    *value = ReadInteger();
}
void chTxtReader::ReadInt64(i64* value) {
    *value = static_cast<i64>(ReadInteger());
}
void chTxtReader::ReadUInt32(u32* value) {
    *value = static_cast<u32>(ReadInteger());
}
void chTxtReader::ReadInt32(i32* value) {
    *value = static_cast<i32>(ReadInteger());
}
void chTxtReader::ReadUInt16(u16* value) {
    *value = static_cast<u16>(ReadInteger());
}
void chTxtReader::ReadInt16(i16* value) {
    *value = static_cast<i16>(ReadInteger());
}
void chTxtReader::ReadUInt8(u8* value) {
    *value = static_cast<u8>(ReadInteger());
}
void chTxtReader::ReadInt8(i8* value) {
    *value = static_cast<i8>(ReadInteger());
}

const fsLocator& chTxtReader::GetLocator() const {
    return m_file->GetLocator();
}

std::string chTxtReader::ReadToken(u32 maximum) {
    // The text carries no sizes, so its structure is the only bound of a chunk: reading on past it would
    // swallow what follows. Writers quote braces that are values.
    // The values of a chunk without a body are the rest of its line: a token on a later line is the
    // next chunk's name.
    if (!m_hasBody.empty() && !m_hasBody.back() && !LineHoldsValue())
        throw chInvalidChunkX(GetLocator());
    std::string token;
    const gfTokenKind kind = gfReadTokenKind(*m_file, token, maximum, kNoStop, true);
    if (kind == gfTokenKind::None) {
        // Bare values outside any chunk read as nothing once the file has ended.
        if (!m_hasBody.empty())
            throw chInvalidChunkX(GetLocator());
        return token;
    }
    if ((kind == gfTokenKind::Plain && (token == "{" || token == "}")) || NextOpensBody())
        throw chInvalidChunkX(GetLocator());
    return token;
}

bool chTxtReader::LineHoldsValue() {
    const u32 mark = m_file->Tell();
    bool holds = false;
    for (u8 c = 0; m_file->ReadAvailable(1, &c) == 1;) {
        // White space and ':' separate; a line feed, a comment or a 0 byte end the line's values.
        if (c == ':' || (c != '\n' && (c == ' ' || (c >= '\t' && c <= '\r'))))
            continue;
        holds = c != '\n' && c != '#' && c != 0;
        break;
    }
    m_file->Seek(static_cast<i32>(mark), 0);
    return holds;
}

bool chTxtReader::NextOpensBody() {
    const u32 mark = m_file->Tell();
    std::string token;
    const bool opens =
        gfReadTokenKind(*m_file, token, 0, kNoStop, true) == gfTokenKind::Plain && token == "{";
    m_file->Seek(static_cast<i32>(mark), 0);
    return opens;
}

u64 chTxtReader::ReadInteger() {
    // Unsigned arithmetic: long digit runs wrap like the narrower slots do, without overflow.
    const std::string token = ReadToken();
    size_t i = 0;
    const bool negative = !token.empty() && token[0] == '-';
    if (!token.empty() && (token[0] == '-' || token[0] == '+'))
        ++i;
    u64 value = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i)
        value = value * 10 + static_cast<u64>(token[i] - '0');
    return negative ? 0 - value : value;
}

f64 chTxtReader::ReadNumber() {
    return envStringToFloat(Widen(ReadToken()));
}
