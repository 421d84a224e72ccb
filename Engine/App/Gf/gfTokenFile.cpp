#include "Engine/App/Gf/gfTokenFile.h"

#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"

namespace {

bool IsLetter(u8 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
}
bool IsDigit(u8 c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(u8 c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsPunctuation(u8 c) {
    return c > ' ' && c < 0x7F && !IsLetter(c) && !IsDigit(c);
}

// Whether cur, following prev inside an unquoted token, begins a new token; next is the byte after
// cur (0 at the end). Only '.' looks at next.
bool BeginsNewToken(u8 prev, u8 cur, u8 next) {
    if (IsLetter(cur) || cur == '_')
        return !(IsLetter(prev) || IsDigit(prev) || prev == '.' || prev == '_');
    if (IsDigit(cur))
        return !(IsLetter(prev) || IsDigit(prev) || prev == '.' || prev == '-' || prev == '_');
    if (cur == 0 || IsSpace(cur) || cur == ':')
        return true;
    if (cur == '.')
        return !IsDigit(prev) && !IsDigit(next) && !(IsLetter(prev) && IsLetter(next));
    if (cur == '-') // inside a token prev is never white space, so '-' always starts a new one
        return true;
    if (cur == '=')
        return false;
    return IsPunctuation(cur);
}

bool ReadByte(gfFile& file, u8& c) {
    return file.ReadAvailable(1, &c) == 1;
}

void GiveBack(gfFile& file, u32 count) {
    file.Seek(-static_cast<i32>(count), 1);
}

char Unescape(u8 c) {
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    default:
        return static_cast<char>(c); // \\, \', \", \? and any other character stand for themselves
    }
}

gfTokenKind ReadQuoted(gfFile& file, std::string& out, u32 maximum) {
    for (u8 c;;) {
        if (!ReadByte(file, c) || c == '\n')
            throw gfInvalidTokenFileTxtX(file.GetLocator());
        if (c == '"')
            return gfTokenKind::Quoted;
        if (c == '\\') {
            if (!ReadByte(file, c))
                throw gfInvalidTokenFileTxtX(file.GetLocator());
            c = static_cast<u8>(Unescape(c));
        }
        if (maximum > 0 && out.size() >= maximum)
            throw gfInvalidTokenFileTxtX(file.GetLocator());
        out += static_cast<char>(c);
    }
}

void ReadPlain(gfFile& file, std::string& out, u32 maximum, char stop) {
    u8 prev = static_cast<u8>(out.back());
    for (u8 cur; ReadByte(file, cur);) {
        u32 readAhead = 1;
        bool ends = cur == static_cast<u8>(stop);
        if (!ends) {
            u8 next = 0;
            if (cur == '.' && ReadByte(file, next))
                readAhead = 2;
            ends = BeginsNewToken(prev, cur, next);
        }
        if (ends) {
            GiveBack(file, readAhead);
            return;
        }
        if (readAhead == 2)
            GiveBack(file, 1);
        // Past the maximum the rest of the token is skipped, so that it does not read as a new token.
        if (maximum == 0 || out.size() < maximum)
            out += static_cast<char>(cur);
        prev = cur;
    }
}

} // namespace

gfTokenKind gfReadTokenKind(gfFile& file, std::string& out, u32 maximum, char stop, bool comments) {
    out.clear();
    u8 c;
    for (;;) {
        if (!ReadByte(file, c) || c == static_cast<u8>(stop))
            return gfTokenKind::None;
        if (IsSpace(c) || c == ':')
            continue;
        if (c == '#' && comments) {
            do {
                if (!ReadByte(file, c))
                    return gfTokenKind::None;
            } while (c != '\n');
            if (stop == '\n')
                return gfTokenKind::None;
            continue;
        }
        break;
    }
    if (c == '"')
        return ReadQuoted(file, out, maximum);
    out += static_cast<char>(c);
    ReadPlain(file, out, maximum, stop);
    return gfTokenKind::Plain;
}

bool gfReadToken(gfFile& file, std::string& out, u32 maximum, char stop, bool comments) {
    return gfReadTokenKind(file, out, maximum, stop, comments) != gfTokenKind::None;
}

bool gfTokenNeedsQuotes(const std::string& text) {
    // Simulates the reader on the text followed by the separating blank that writers put after it.
    if (text.empty())
        return true;
    const u8 first = static_cast<u8>(text[0]);
    if (first == 0 || IsSpace(first) || first == ':' || first == '"' || first == '#')
        return true;
    if (text == "{" || text == "}") // unquoted, these open and close chunk bodies
        return true;
    for (size_t i = 1; i < text.size(); ++i) {
        const u8 next = i + 1 < text.size() ? static_cast<u8>(text[i + 1]) : ' ';
        if (BeginsNewToken(static_cast<u8>(text[i - 1]), static_cast<u8>(text[i]), next))
            return true;
    }
    return false;
}

void gfWriteToken(gfFile& file, const std::string& text) {
    if (!gfTokenNeedsQuotes(text)) {
        file.Write(static_cast<u32>(text.size()), text.data());
        return;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    quoted += '"';
    file.Write(static_cast<u32>(quoted.size()), quoted.data());
}

bool gfReadLine(gfFile& file, std::string& out, u32 maximum) {
    out.clear();
    for (u8 c; (maximum == 0 || out.size() < maximum) && ReadByte(file, c);) {
        if (c == '\n')
            break;
        if (c == '\r') {
            if (ReadByte(file, c) && c != '\n')
                GiveBack(file, 1);
            break;
        }
        out += static_cast<char>(c);
    }
    return !out.empty();
}
