#include "Engine/Platform/Os/plUtf.h"

#include "Engine/Core/Env/envUtf.h"

std::u16string plUtf8ToUtf16(const std::string& text) {
    return envUtf8ToUtf16(text);
}

std::string plUtf16ToUtf8(const std::u16string& text) {
    return envUtf16ToUtf8(text);
}
