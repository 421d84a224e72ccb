#include "Engine/Platform/Window/plMessageBox.h"

#include "Engine/Core/Env/envUtf.h"

#include <cstdio>

i32 plStderrMessageBox::Show(const std::u16string& text, const std::u16string& caption, u32 type) {
    std::fprintf(stderr, "%s: %s\n", envUtf16ToUtf8(caption).c_str(), envUtf16ToUtf8(text).c_str());
    return (type & plMb::ButtonMask) == plMb::Ok ? plId::Ok : 0;
}

i32 plTestMessageBox::Show(const std::u16string& text, const std::u16string& caption, u32 type) {
    m_shown.push_back({text, caption, type});
    return m_answer;
}
