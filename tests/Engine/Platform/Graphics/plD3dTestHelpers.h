#pragma once
#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

#include "plD3dWindowed.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// The values written over the whole buffer through one lock.
template <class T> void Write(plD3dBuffer& buffer, const std::vector<T>& values, u32 flags = 0) {
    u8* data = nullptr;
    ASSERT_EQ(buffer.Lock(0, 0, &data, flags), plD3dErr::Ok);
    std::memcpy(data, values.data(), values.size() * sizeof(T));
    ASSERT_EQ(buffer.Unlock(), plD3dErr::Ok);
}
