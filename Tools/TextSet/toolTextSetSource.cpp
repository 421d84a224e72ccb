#include "Tools/TextSet/toolTextSetSource.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/envUtf.h"

#include <map>

namespace {

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

envString ToUtf16(std::string_view text, const std::string& file, u32 line) {
    envString units;
    for (size_t i = 0; i < text.size();) {
        u32 code = 0;
        if (!envDecodeUtf8(text, i, code))
            throw toolSourceError(file, line, "the text is not valid UTF-8");
        if (code == 0)
            throw toolSourceError(file, line, "the text holds a 0 character");
        envAppendUtf16(units, code);
    }
    if (units.GetLength() > gfTextSetMaxUnits)
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
