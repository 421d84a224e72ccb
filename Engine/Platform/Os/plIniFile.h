#pragma once
#include <string>
#include <vector>

// The INI text form of the INI reader and the key-value store: "[section]" lines and "name=value" lines,
// with ';' or '#' starting a comment line. Section and value names match ignoring ASCII case and the
// blanks around them; values are trimmed, and one pair of matching quotes around a value is removed.
// The first section and the first name of a kind win. The text keeps its lines, so a rewrite leaves
// comments and the order of everything it did not change.
class plIniFile {
  public:
    plIniFile() = default;
    // UTF-8 text with LF or CR LF line ends, with or without a byte-order mark.
    explicit plIniFile(const std::string& text);

    bool HasSection(const std::string& section) const;
    // The names of every section, in file order.
    std::vector<std::string> GetSections() const;
    // False when the section or the name is missing.
    bool Find(const std::string& section, const std::string& name, std::string& value) const;
    // Replaces the first value of that name, else adds the value at the end of the section, else adds
    // the section at the end. The value is written quoted, so blanks and quotes around it survive.
    void Set(const std::string& section, const std::string& name, const std::string& value);
    // The lines joined with LF, ending in LF.
    std::string GetText() const;

  private:
    // The line index of the section's header, or -1.
    long FindSection(const std::string& section) const;
    // The line index of the name's line in the section whose header is at index header, or -1.
    long FindName(long header, const std::string& name) const;
    // One past the section's last non-blank line.
    size_t SectionEnd(long header) const;

    std::vector<std::string> m_lines;
};

// Trims blanks (space, tab) from both ends.
std::string plTrimBlanks(const std::string& text);
bool plEqualsIgnoringCase(const std::string& a, const std::string& b);
