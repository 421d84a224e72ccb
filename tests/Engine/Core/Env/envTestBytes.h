#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <cstring>
#include <string>

// An independent little-endian byte builder for file fixtures, so that a writer bug cannot hide a
// reader bug. A format's own builder derives from it (Self) to add its records and keep chaining.
template <class Self> class envTestBytesOf {
  public:
    Self& Text(const std::string& text) {
        m_bytes += text;
        return static_cast<Self&>(*this);
    }
    template <typename T> Self& Le(T value) {
        char raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T)); // the test machine is little-endian, as the files are
        return Text(std::string(raw, sizeof(T)));
    }
    Self& U8(u8 v) { return Le(v); }
    Self& U16(u16 v) { return Le(v); }
    Self& U32(u32 v) { return Le(v); }
    const std::string& Str() const { return m_bytes; }
    size_t Size() const { return m_bytes.size(); }

  private:
    std::string m_bytes;
};

class envTestBytes : public envTestBytesOf<envTestBytes> {};

// Bytes given as numbers.
inline std::string envBytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}
