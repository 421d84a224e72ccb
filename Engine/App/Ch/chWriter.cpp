#include "Engine/App/Ch/chWriter.h"

u32 chUnitCount(const char16_t* units) {
    return units ? static_cast<u32>(std::char_traits<char16_t>::length(units)) : 0;
}

void chWriter::WriteString(const envString& text) {
    // An envString carries no terminator of its own; stop at an embedded 0 as the terminated form does.
    std::u16string units;
    for (u32 i = 0; i < text.GetLength() && text[i] != 0; ++i)
        units += text[i];
    WriteString(units.c_str());
}

void chWriter::WriteString(const std::string& text) {
    WriteString(text.c_str());
}
