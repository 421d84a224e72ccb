#include "Tools/TextSet/toolTextSetSource.h"

#include <map>

namespace {

// A text set stores a text's length as a signed 16-bit count.
constexpr u32 kMaxTextUnits = 32767;

std::string Unescape(std::string_view raw, const std::string& file, u32 line) {
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            text += raw[i];
            continue;
        }
        if (++i == raw.size())
            throw toolSourceError(file, line,
                                  "the line ends in a lone backslash (write \\\\ for a backslash)");
        switch (raw[i]) {
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case '\\':
            text += '\\';
            break;
        default:
            throw toolSourceError(file, line,
                                  std::string("unknown escape \\") + raw[i] +
                                      " (only \\n, \\t and \\\\ are known)");
        }
    }
    return text;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool DecodeUtf8(std::string_view s, size_t& i, u32& code) {
    const auto byte = [&](size_t k) { return static_cast<u8>(s[k]); };
    const u8 lead = byte(i);
    u32 count = 0;
    u32 min = 0;
    if (lead < 0x80) {
        code = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        code = lead & 0x1F, count = 1, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        code = lead & 0x0F, count = 2, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        code = lead & 0x07, count = 3, min = 0x10000;
    } else {
        return false;
    }
    if (i + count >= s.size())
        return false;
    for (u32 k = 1; k <= count; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return false;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
        return false;
    i += count + 1;
    return true;
}

envString ToUtf16(std::string_view text, const std::string& file, u32 line) {
    envString units;
    for (size_t i = 0; i < text.size();) {
        u32 code = 0;
        if (!DecodeUtf8(text, i, code))
            throw toolSourceError(file, line, "the text is not valid UTF-8");
        if (code == 0)
            throw toolSourceError(file, line, "the text holds a 0 character");
        if (code > 0xFFFF) {
            units.AppendChar(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.AppendChar(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            units.AppendChar(static_cast<char16_t>(code));
        }
    }
    if (units.GetLength() > kMaxTextUnits)
        throw toolSourceError(file, line, "the text is longer than 32767 UTF-16 units");
    return units;
}

u32 ParseId(std::string_view digits, const std::string& file, u32 line) {
    if (digits.empty())
        throw toolSourceError(file, line, "expected <id><TAB><text>, the id is missing");
    u64 id = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            throw toolSourceError(file, line,
                                  "the id \"" + std::string(digits) + "\" is not a decimal number");
        id = id * 10 + static_cast<u32>(c - '0');
        if (id > 0xFFFFFFFFu)
            throw toolSourceError(file, line, "the id " + std::string(digits) + " does not fit in 32 bits");
    }
    return static_cast<u32>(id);
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

std::vector<toolTextSetEntry> toolParseTextSetSource(std::string_view source, const std::string& fileName) {
    if (source.substr(0, 3) == "\xEF\xBB\xBF")
        source.remove_prefix(3);
    std::vector<toolTextSetEntry> entries;
    std::map<u32, u32> firstLine;
    u32 lineNumber = 0;
    while (!source.empty()) {
        ++lineNumber;
        const size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (IsBlank(line) || line.front() == '#')
            continue;

        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            throw toolSourceError(fileName, lineNumber, "expected <id><TAB><text>, the line has no TAB");
        const u32 id = ParseId(line.substr(0, tab), fileName, lineNumber);
        const auto [previous, added] = firstLine.emplace(id, lineNumber);
        if (!added)
            throw toolSourceError(fileName, lineNumber,
                                  "the id " + std::to_string(id) + " is already given on line " +
                                      std::to_string(previous->second));
        const std::string text = Unescape(line.substr(tab + 1), fileName, lineNumber);
        entries.push_back({id, ToUtf16(text, fileName, lineNumber)});
    }
    return entries;
}
