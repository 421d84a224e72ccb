#pragma once
#include "Engine/Core/Env/envTypes.h"

// Numbers stored lowest byte first, as the game's files hold them whatever the machine's order.
inline u16 envLe16(const u8* bytes) {
    return static_cast<u16>(bytes[0] | bytes[1] << 8);
}

inline u32 envLe32(const u8* bytes) {
    return envLe16(bytes) | static_cast<u32>(envLe16(bytes + 2)) << 16;
}

// Appends to a byte vector or string.
template <class Bytes> void envAppendLe16(Bytes& out, u16 value) {
    out.push_back(static_cast<typename Bytes::value_type>(value & 0xFF));
    out.push_back(static_cast<typename Bytes::value_type>(value >> 8));
}

template <class Bytes> void envAppendLe32(Bytes& out, u32 value) {
    envAppendLe16(out, static_cast<u16>(value));
    envAppendLe16(out, static_cast<u16>(value >> 16));
}
