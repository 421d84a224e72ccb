#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <cstring>
#include <string>

// An independent little-endian byte builder for file fixtures, so that a writer bug cannot hide a
// reader bug.
class envTestBytes {
  public:
    envTestBytes& Text(const std::string& text) {
        m_bytes += text;
        return *this;
    }
    template <typename T> envTestBytes& Le(T value) {
        u8 raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        m_bytes.append(reinterpret_cast<const char*>(raw), sizeof(T)); // the test machine is little-endian
        return *this;
    }
    envTestBytes& U8(u8 v) { return Le(v); }
    envTestBytes& U16(u16 v) { return Le(v); }
    envTestBytes& U32(u32 v) { return Le(v); }
    const std::string& Str() const { return m_bytes; }
    operator const std::string&() const { return m_bytes; }

  private:
    std::string m_bytes;
};

// Bytes given as numbers.
inline std::string envBytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}
