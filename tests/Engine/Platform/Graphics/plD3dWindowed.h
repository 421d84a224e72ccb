#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"

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
