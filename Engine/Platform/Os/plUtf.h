#pragma once
#include <string>

// UTF-8, the text of every Linux interface, to and from the engine's UTF-16. A character outside the
// basic plane is two UTF-16 units; a malformed UTF-8 sequence or a lone surrogate becomes U+FFFD.
std::u16string plUtf8ToUtf16(const std::string& text);
std::string plUtf16ToUtf8(const std::u16string& text);
