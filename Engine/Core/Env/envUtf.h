#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <string_view>

class envString;

// UTF-8 (the text of every Linux interface) and the engine's UTF-16. Decoding is strict: a truncated
// or overlong sequence, a stray continuation byte, an encoded surrogate or a value above U+10FFFF is
// malformed, and each caller decides what malformed input becomes.

constexpr u32 envReplacementCharacter = 0xFFFD;

constexpr bool envIsSurrogate(u32 code) {
    return code >= 0xD800 && code < 0xE000;
}

// The code point of the sequence at text[at], with `at` moved past it; false, both unchanged, when the
// sequence is malformed.
bool envDecodeUtf8(std::string_view text, size_t& at, u32& code);
// Appends the code point's bytes. A lone surrogate is written in the three-byte form like any other
// value below U+10000, so that distinct unit strings stay distinct byte strings.
void envAppendUtf8(std::string& out, u32 code);

// The code point at units[at], a surrogate pair joined; a lone surrogate is returned as it is.
// Moves `at` past the units taken.
u32 envDecodeUtf16(std::u16string_view units, size_t& at);
// The units of a code point in units[0..n), returning n: a pair above U+FFFF, U+FFFD above U+10FFFF.
u32 envEncodeUtf16(u32 code, char16_t units[2]);
void envAppendUtf16(envString& out, u32 code);

// ASCII letters to lower case; other bytes, those of longer UTF-8 sequences among them, stay.
void envLowerAscii(std::string& text);

// Whole texts: each byte of a malformed sequence becomes U+FFFD, and so does a lone surrogate.
std::u16string envUtf8ToUtf16(std::string_view text);
std::string envUtf16ToUtf8(std::u16string_view units);
// The same for the engine's strings: text for messages, the log and every Linux interface but a path,
// whose bytes that are not UTF-8 the file system keeps apart (fsNativeToString).
envString envStringFromUtf8(std::string_view text);
std::string envStringToUtf8(const envString& text);
