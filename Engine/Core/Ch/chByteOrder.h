#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <algorithm>
#include <cstring>

// A stream with byte-order flag 1 holds its multi-byte values in the other byte order.
constexpr u32 chSwappedByteOrder = 1;

template <typename T> T chSwapBytes(T value) {
    u8 bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    std::reverse(bytes, bytes + sizeof(T));
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}
