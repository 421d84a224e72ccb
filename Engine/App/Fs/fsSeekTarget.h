#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <optional>

// Where a stream's seek lands: offset from the start (origin 0), the position (1) or the end (2), the
// size asked of end() only then; nothing for another origin. Each stream checks the range it allows.
template <typename End> std::optional<i64> fsSeekTarget(i32 offset, u32 origin, u32 position, End end) {
    switch (origin) {
    case 0:
        return offset;
    case 1:
        return static_cast<i64>(position) + offset;
    case 2:
        return static_cast<i64>(end()) + offset;
    default:
        return std::nullopt;
    }
}
