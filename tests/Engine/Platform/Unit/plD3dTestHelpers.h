#pragma once
#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// A windowed device of the size with a 16-bit depth buffer.
inline plD3dPresentParameters Windowed(u32 width, u32 height) {
    plD3dPresentParameters params;
    params.backBufferWidth = width;
    params.backBufferHeight = height;
    params.windowed = true;
    params.enableAutoDepthStencil = true;
    params.autoDepthStencilFormat = plD3dFormat::D16;
    params.swapEffect = plD3dSwapEffect::Discard;
    return params;
}

// The values written over the whole buffer through one lock.
template <class T> void Write(plD3dBuffer& buffer, const std::vector<T>& values, u32 flags = 0) {
    u8* data = nullptr;
    ASSERT_EQ(buffer.Lock(0, 0, &data, flags), plD3dErr::Ok);
    std::memcpy(data, values.data(), values.size() * sizeof(T));
    ASSERT_EQ(buffer.Unlock(), plD3dErr::Ok);
}
