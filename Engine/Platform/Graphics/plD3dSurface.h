#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"
#include "Engine/Platform/Graphics/plD3dUnknown.h"

#include <vector>

class plD3dDevice;

// A surface of the device: an image surface in system memory, whose pixels live here and are locked
// for reading and writing, or the device's back buffer, whose pixels the backend keeps and only
// CopyRects reaches. A surface holds a reference to its device, so the device outlives it.
class plD3dSurface : public plD3dUnknown {
  public:
    plD3dResult GetDesc(plD3dSurfaceDesc* desc) const;
    // The whole surface or a rectangle inside it; an image surface only, locked once at a time.
    plD3dResult LockRect(plD3dLockedRect* locked, const plD3dRect* rect, u32 flags);
    plD3dResult UnlockRect();

    plD3dDevice& GetDevice() const { return m_device; }
    const plD3dSurfaceDesc& Desc() const { return m_desc; }
    bool IsBackBuffer() const { return m_backBuffer; }
    // The pixels of an image surface, top row first, Pitch() bytes a row.
    u8* Pixels() { return m_pixels.data(); }
    const u8* Pixels() const { return m_pixels.data(); }
    u32 Pitch() const { return m_pitch; }

  private:
    friend class plD3dDevice;
    plD3dSurface(plD3dDevice& device, const plD3dSurfaceDesc& desc, bool backBuffer);
    ~plD3dSurface() override;

    plD3dDevice& m_device;
    plD3dSurfaceDesc m_desc;
    bool m_backBuffer;
    bool m_locked = false;
    u32 m_pitch = 0;
    std::vector<u8> m_pixels;
};
