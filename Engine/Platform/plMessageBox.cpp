#include "Engine/Platform/plMessageBox.h"

i32 plTestMessageBox::Show(const std::u16string& text, const std::u16string& caption, u32 type) {
    m_shown.push_back({text, caption, type});
    return m_answer;
}
