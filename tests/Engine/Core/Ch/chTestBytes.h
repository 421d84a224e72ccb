#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <cstring>
#include <string>

// An independent byte builder, so that a writer bug cannot hide a reader bug: little-endian values.
class chTestBytes {
  public:
    chTestBytes& Text(const std::string& text) {
        m_bytes += text;
        return *this;
    }
    template <typename T> chTestBytes& Le(T value) {
        u8 raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        for (size_t i = 0; i < sizeof(T); ++i) // the test machine is little-endian, as the files are
            m_bytes += static_cast<char>(raw[i]);
        return *this;
    }
    chTestBytes& U8(u8 v) { return Le(v); }
    chTestBytes& U16(u16 v) { return Le(v); }
    chTestBytes& U32(u32 v) { return Le(v); }
    // A chunk header: id, size, version.
    chTestBytes& Chunk(const char* id, u32 size, u16 version) {
        return Text(std::string(id, 4)).U32(size).U16(version);
    }
    const std::string& Str() const { return m_bytes; }

  private:
    std::string m_bytes;
};

inline std::string chBytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}
