#include "Engine/Platform/Os/plIniFile.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The section name of a header line ("[name]" with blanks allowed around), or false.
bool ParseHeader(const std::string& line, std::string& section) {
    const std::string trimmed = plTrimBlanks(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return false;
    const size_t close = trimmed.find(']');
    if (close == std::string::npos)
        return false;
    section = plTrimBlanks(trimmed.substr(1, close - 1));
    return true;
}

// The name and raw value of a "name=value" line; false for blank lines, comments and lines without "=".
bool ParseEntry(const std::string& line, std::string& name, std::string& value) {
    const std::string trimmed = plTrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#' || trimmed.front() == '[')
        return false;
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos)
        return false;
    name = plTrimBlanks(trimmed.substr(0, equals));
    value = plTrimBlanks(trimmed.substr(equals + 1));
    return true;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::string plTrimBlanks(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool plEqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

plIniFile::plIniFile(const std::string& text) {
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
}

long plIniFile::FindSection(const std::string& section) const {
    const std::string wanted = plTrimBlanks(section);
    std::string name;
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (ParseHeader(m_lines[i], name) && plEqualsIgnoringCase(name, wanted))
            return static_cast<long>(i);
    return -1;
}

long plIniFile::FindName(long header, const std::string& name) const {
    const std::string wanted = plTrimBlanks(name);
    std::string section;
    std::string entryName;
    std::string value;
    for (size_t i = static_cast<size_t>(header) + 1; i < m_lines.size(); ++i) {
        if (ParseHeader(m_lines[i], section))
            break;
        if (ParseEntry(m_lines[i], entryName, value) && plEqualsIgnoringCase(entryName, wanted))
            return static_cast<long>(i);
    }
    return -1;
}

size_t plIniFile::SectionEnd(long header) const {
    std::string section;
    size_t end = static_cast<size_t>(header) + 1;
    for (size_t i = end; i < m_lines.size() && !ParseHeader(m_lines[i], section); ++i)
        if (!plTrimBlanks(m_lines[i]).empty())
            end = i + 1;
    return end;
}

bool plIniFile::HasSection(const std::string& section) const {
    return FindSection(section) >= 0;
}

std::vector<std::string> plIniFile::GetSections() const {
    std::vector<std::string> sections;
    std::string name;
    for (const std::string& line : m_lines)
        if (ParseHeader(line, name))
            sections.push_back(name);
    return sections;
}

bool plIniFile::Find(const std::string& section, const std::string& name, std::string& value) const {
    const long header = FindSection(section);
    const long line = header < 0 ? -1 : FindName(header, name);
    if (line < 0)
        return false;
    std::string entryName;
    ParseEntry(m_lines[static_cast<size_t>(line)], entryName, value);
    value = Unquote(value);
    return true;
}

void plIniFile::Set(const std::string& section, const std::string& name, const std::string& value) {
    const std::string entry = plTrimBlanks(name) + "=\"" + value + "\"";
    const long header = FindSection(section);
    if (header < 0) {
        if (!m_lines.empty() && !plTrimBlanks(m_lines.back()).empty())
            m_lines.emplace_back();
        m_lines.push_back("[" + plTrimBlanks(section) + "]");
        m_lines.push_back(entry);
        return;
    }
    const long line = FindName(header, name);
    if (line >= 0) {
        // The name keeps the spelling it was first written with.
        std::string oldName;
        std::string oldValue;
        ParseEntry(m_lines[static_cast<size_t>(line)], oldName, oldValue);
        m_lines[static_cast<size_t>(line)] = oldName + "=\"" + value + "\"";
    } else
        m_lines.insert(m_lines.begin() + static_cast<long>(SectionEnd(header)), entry);
}

std::string plIniFile::GetText() const {
    std::string text;
    for (const std::string& line : m_lines)
        text += line + "\n";
    return text;
}
