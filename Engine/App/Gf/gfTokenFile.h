#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

class gfFile;

// Token files: text read byte by byte from a gfFile. White space and ':' separate tokens, "#" starts
// a comment to the end of the line, "..." is a quoted token with C escapes, and an unquoted token
// ends where the break rule says a new one begins (so "a-5" is "a" and "-5", "a=b" is "a=" and "b").
// Bytes of 0x80 and above count as letters, so UTF-8 words stay whole.

enum class gfTokenKind { None, Plain, Quoted };

// The next token, or None at the end of the file or at the stop character. A maximum above 0 cuts an
// unquoted token to that many characters (the rest of it is skipped); a longer quoted token, or one
// that meets a raw line feed or the end of the file, throws gfInvalidTokenFileTxtX.
gfTokenKind gfReadTokenKind(gfFile& file, std::string& out, u32 maximum, char stop, bool comments);
// The same, true when a token was read.
bool gfReadToken(gfFile& file, std::string& out, u32 maximum, char stop, bool comments);

// Writes the text so that it reads back as this one token: quoted (with \", \\ and \n escapes) when
// it is empty, or would be read as something else or as several tokens.
void gfWriteToken(gfFile& file, const std::string& text);
// Whether gfWriteToken quotes the text.
bool gfTokenNeedsQuotes(const std::string& text);

// One line, ended by CR (an LF after it is consumed), LF, or the end of the file; at most maximum
// bytes when it is above 0 (the rest of a longer line is the next line). True when not empty.
bool gfReadLine(gfFile& file, std::string& out, u32 maximum);
