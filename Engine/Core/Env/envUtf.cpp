#include "Engine/Core/Env/envUtf.h"

#include "Engine/Core/Env/envString.h"

namespace {

constexpr u32 kMaxCode = 0x10FFFF;

bool IsHighSurrogate(u32 unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

bool IsLowSurrogate(u32 unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

} // namespace

bool envDecodeUtf8(std::string_view text, size_t& at, u32& code) {
    const auto byte = [&](size_t k) { return static_cast<u8>(text[k]); };
    const u8 lead = byte(at);
    if (lead < 0x80) {
        code = lead;
        ++at;
        return true;
    }
    size_t length;
    u32 value, minimum;
    if ((lead & 0xE0) == 0xC0)
        length = 2, value = lead & 0x1F, minimum = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, value = lead & 0x0F, minimum = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, value = lead & 0x07, minimum = 0x10000;
    else
        return false;
    if (length > text.size() - at)
        return false;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80)
            return false;
        value = value << 6 | (byte(at + k) & 0x3F);
    }
    if (value < minimum || value > kMaxCode || envIsSurrogate(value))
        return false;
    code = value;
    at += length;
    return true;
}

void envAppendUtf8(std::string& out, u32 code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

u32 envDecodeUtf16(std::u16string_view units, size_t& at) {
    const u32 unit = units[at++];
    if (IsHighSurrogate(unit) && at < units.size() && IsLowSurrogate(units[at]))
        return 0x10000 + ((unit - 0xD800) << 10) + (units[at++] - 0xDC00);
    return unit;
}

u32 envEncodeUtf16(u32 code, char16_t units[2]) {
    if (code > kMaxCode)
        code = envReplacementCharacter;
    if (code < 0x10000) {
        units[0] = static_cast<char16_t>(code);
        return 1;
    }
    units[0] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    return 2;
}

void envAppendUtf16(envString& out, u32 code) {
    char16_t units[2];
    for (u32 k = 0, count = envEncodeUtf16(code, units); k < count; ++k)
        out.AppendChar(units[k]);
}

std::u16string envUtf8ToUtf16(std::string_view text) {
    std::u16string out;
    for (size_t at = 0; at < text.size();) {
        u32 code = envReplacementCharacter;
        if (!envDecodeUtf8(text, at, code))
            ++at;
        char16_t units[2];
        out.append(units, envEncodeUtf16(code, units));
    }
    return out;
}

std::string envUtf16ToUtf8(std::u16string_view units) {
    std::string out;
    for (size_t at = 0; at < units.size();) {
        const u32 code = envDecodeUtf16(units, at);
        envAppendUtf8(out, envIsSurrogate(code) ? envReplacementCharacter : code);
    }
    return out;
}

envString envStringFromUtf8(std::string_view text) {
    envString out;
    for (const char16_t unit : envUtf8ToUtf16(text))
        out.AppendChar(unit);
    return out;
}

std::string envStringToUtf8(const envString& text) {
    return envUtf16ToUtf8(std::u16string_view(text.GetData() ? text.GetData() : u"", text.GetLength()));
}

void envLowerAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}
