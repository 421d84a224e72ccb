#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

class plD3dSurface;

// The device side of an image: its surface, the pitch while locked and the file it came from.
class g2dImagePAC {
  public:
    g2dImagePAC() = default;
    ~g2dImagePAC() { Release(); }
    g2dImagePAC(const g2dImagePAC&) = delete;
    g2dImagePAC& operator=(const g2dImagePAC&) = delete;

    // Device failures are reported and leave no surface.
    void Create(u32 width, u32 height, plD3dFormat format);
    void Release();
    u8* Lock();
    void Unlock();

    plD3dSurface* surface = nullptr;
    i32 pitch = 0;
    fsLocator locator;
};
