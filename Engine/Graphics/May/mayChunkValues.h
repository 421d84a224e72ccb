#pragma once
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"

#include <cmath>
#include <type_traits>

// A value that must lie inside the current chunk; floats must also be finite.
template <class T> T mayReadInChunk(chBinReader& reader) {
    if (reader.GetChunkBytesLeft() < sizeof(T))
        throw chInvalidChunkX(reader.GetLocator());
    T value{};
    if constexpr (std::is_same_v<T, u16>)
        reader.ReadUInt16(&value);
    else if constexpr (std::is_same_v<T, u8>)
        reader.ReadUInt8(&value);
    else
        reader.ReadFloat(&value);
    if constexpr (std::is_same_v<T, f32>)
        if (!std::isfinite(value))
            throw chInvalidChunkX(reader.GetLocator());
    return value;
}

// A 16-bit count of elements of that many bytes each, all of which lie inside the chunk.
inline u32 mayReadCount(chBinReader& reader, u32 elementBytes) {
    const u32 count = mayReadInChunk<u16>(reader);
    if (u64{count} * elementBytes > reader.GetChunkBytesLeft())
        throw chInvalidChunkX(reader.GetLocator());
    return count;
}

// Levels nest at most this deep: a file of nested headers alone would otherwise exhaust the stack.
constexpr u32 mayMaxLevelDepth = 256;

inline u32 mayNextDepth(u32 depth) {
    if (depth >= mayMaxLevelDepth)
        throw chInvalidChunkX();
    return depth + 1;
}

// 8-bit characters up to and including a 0 byte, all inside the chunk.
inline std::string mayReadName(chBinReader& reader) {
    std::string name;
    for (u8 c = mayReadInChunk<u8>(reader); c != 0; c = mayReadInChunk<u8>(reader))
        name += static_cast<char>(c);
    return name;
}
