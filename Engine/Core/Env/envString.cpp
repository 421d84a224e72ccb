#include "Engine/Core/Env/envString.h"

#include "Engine/Core/Env/envUtf.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

template <typename Char> u32 TextLength(const Char* text) {
    u32 n = 0;
    if (text)
        while (text[n] != 0)
            ++n;
    return n;
}

} // namespace

envString::envString(const char* text) {
    *this = text;
}

envString::envString(const wchar_t* text) {
    *this = text;
}

envString::envString(const char16_t* text) {
    Assign(text, TextLength(text));
}

envString::envString(const envString& other) {
    Assign(other.GetData(), other.m_length);
}

envString::envString(envString&& other) noexcept
    : m_data(std::move(other.m_data)), m_length(other.m_length), m_capacity(other.m_capacity) {
    other.m_length = other.m_capacity = 0;
}

envString::envString(u32 start, u32 count, const envString& source) {
    start = std::min(start, source.m_length);
    count = std::min(count, source.m_length - start);
    Assign(source.GetData() ? source.GetData() + start : nullptr, count);
}

envString& envString::operator=(const envString& other) {
    if (this != &other) {
        m_length = 0;
        Assign(other.GetData(), other.m_length);
    }
    return *this;
}

envString& envString::operator=(envString&& other) noexcept {
    m_data = std::move(other.m_data);
    m_length = other.m_length;
    m_capacity = other.m_capacity;
    other.m_length = other.m_capacity = 0;
    return *this;
}

envString& envString::operator=(const char* text) {
    // Each byte becomes one unit, zero-extended; no code page applies.
    const u32 n = TextLength(text);
    m_length = 0;
    Reserve(n);
    for (u32 i = 0; i < n; ++i)
        m_data[i] = static_cast<unsigned char>(text[i]);
    m_length = n;
    return *this;
}

envString& envString::operator=(const wchar_t* text) {
    // wchar_t holds UTF-32 here: code points above the BMP become surrogate pairs, values that are no
    // code point U+FFFD.
    m_length = 0;
    for (u32 i = 0, n = TextLength(text); i < n; ++i)
        envAppendUtf16(*this, static_cast<u32>(text[i]));
    return *this;
}

void envString::Assign(const char16_t* units, u32 count) {
    // A copy owns exactly the source's length; copying "nothing" keeps no storage.
    if (count == 0 && !m_data) {
        m_length = 0;
        return;
    }
    if (count > m_capacity) {
        m_data = std::make_unique<char16_t[]>(count);
        m_capacity = count;
    }
    if (count)
        std::memcpy(m_data.get(), units, count * sizeof(char16_t));
    m_length = count;
}

void envString::Reserve(u32 added) {
    if (added == 0 || m_length + added <= m_capacity)
        return;
    const u32 capacity = m_length + std::max(m_length, added);
    auto data = std::make_unique<char16_t[]>(capacity);
    if (m_length)
        std::memcpy(data.get(), m_data.get(), m_length * sizeof(char16_t));
    m_data = std::move(data);
    m_capacity = capacity;
}

bool envString::operator==(const envString& other) const {
    return m_length == other.m_length &&
           (m_length == 0 || std::memcmp(m_data.get(), other.m_data.get(), m_length * sizeof(char16_t)) == 0);
}

bool envString::operator<(const envString& other) const {
    // char16_t is unsigned, so this compares units as unsigned 16-bit values.
    const char16_t* a = m_data.get();
    const char16_t* b = other.m_data.get();
    return std::lexicographical_compare(a, a + m_length, b, b + other.m_length);
}

bool envString::Contains(const envString& needle) const {
    // Both sides end at their first 0 unit, as a search on terminated text would.
    const std::u16string_view hay(GetData() ? GetData() : u"", m_length);
    const std::u16string_view pin(needle.GetData() ? needle.GetData() : u"", needle.m_length);
    return hay.substr(0, hay.find(u'\0')).find(pin.substr(0, pin.find(u'\0'))) != std::u16string_view::npos;
}

void envString::Append(const envString& other) {
    if (other.m_length == 0)
        return;
    const envString copy(other); // other may be *this
    Reserve(copy.m_length);
    std::memcpy(m_data.get() + m_length, copy.m_data.get(), copy.m_length * sizeof(char16_t));
    m_length += copy.m_length;
}

void envString::AppendChar(char16_t unit) {
    Reserve(1);
    m_data[m_length++] = unit;
}

void envString::InsertChar(u32 position, char16_t unit) {
    assert(position <= m_length && "envString::InsertChar position out of range");
    position = std::min(position, m_length);
    Reserve(1);
    std::memmove(m_data.get() + position + 1, m_data.get() + position,
                 (m_length - position) * sizeof(char16_t));
    m_data[position] = unit;
    ++m_length;
}

void envString::EraseChar(u32 position) {
    assert(position < m_length && "envString::EraseChar position out of range");
    if (position >= m_length)
        return;
    std::memmove(m_data.get() + position, m_data.get() + position + 1,
                 (m_length - position - 1) * sizeof(char16_t));
    --m_length;
}

void envString::Resize(u32 length) {
    if (length > m_length) {
        const u32 old = m_length;
        Reserve(length - old);
        std::fill(m_data.get() + old, m_data.get() + length, u'\0');
    }
    m_length = length;
}

void envString::TruncateAtNull() {
    for (u32 i = 0; i < m_length; ++i)
        if (m_data[i] == 0) {
            m_length = i;
            return;
        }
}

void envStringToNarrow(std::string& out, const envString& text) {
    out.resize(text.GetLength());
    for (u32 i = 0; i < text.GetLength(); ++i)
        out[i] = static_cast<char>(text[i] & 0xFF);
}

std::string envStringToNarrow(const envString& text) {
    std::string out;
    envStringToNarrow(out, text);
    return out;
}

double envStringToFloat(const envString& text) {
    const std::string narrow = envStringToNarrow(text);
    const char* p = narrow.c_str();
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    const char* start = p;
    if (*p == '+' || *p == '-')
        ++p;
    const char* digits = p;
    while (*p >= '0' && *p <= '9')
        ++p;
    bool any = p != digits;
    if (*p == '.') {
        const char* frac = ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        any = any || p != frac;
    }
    if (!any)
        return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (*q >= '0' && *q <= '9') {
            while (*q >= '0' && *q <= '9')
                ++q;
            p = q;
        }
    }
    // from_chars takes no leading '+' and reads without the user's locale.
    if (*start == '+')
        ++start;
    double value = 0.0;
    const auto result = std::from_chars(start, p, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow saturates; underflow (a negative exponent) goes to zero.
        const std::string_view number(start, p - start);
        const auto e = number.find_first_of("eE");
        if (e != std::string_view::npos && number[e + 1] == '-')
            return 0.0;
        return (*start == '-') ? -HUGE_VAL : HUGE_VAL;
    }
    return result.ec == std::errc() ? value : 0.0;
}
