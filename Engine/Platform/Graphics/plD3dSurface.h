#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"
#include "Engine/Platform/Graphics/plD3dUnknown.h"

#include <vector>

class plD3dDevice;
class plD3dTexture;

// A surface of the device: an image surface in system memory or a level of a texture, whose pixels
// live here and are locked for reading and writing; the device's back buffer, whose pixels the
// backend keeps and only CopyRects reaches; or the device's depth buffer, which only render targets
// take. A surface holds a reference to its device, so the device
// outlives it; a texture's level is counted and kept by its texture.
class plD3dSurface : public plD3dUnknown {
  public:
    u32 AddRef() override;
    u32 Release() override;

    // The whole surface or a rectangle inside it, locked once at a time; neither the back buffer nor a
    // level of a default-pool texture can be locked.
    plD3dResult LockRect(plD3dLockedRect* locked, const plD3dRect* rect, u32 flags);
    plD3dResult UnlockRect();

    plD3dDevice& GetDevice() const { return m_device; }
    const plD3dSurfaceDesc& Desc() const { return m_desc; }
    bool IsBackBuffer() const { return m_backBuffer; }
    bool IsDepthStencil() const { return m_desc.usage == plD3dUsage::DepthStencil; }
    // The texture this surface is a level of, or null.
    plD3dTexture* GetContainer() const { return m_container; }
    // The pixels of an image surface or level, top row first, Pitch() bytes a row.
    u8* Pixels() { return m_pixels.data(); }
    const u8* Pixels() const { return m_pixels.data(); }
    u32 Pitch() const { return m_pitch; }
    // Tells the container that the pixels changed.
    void MarkWritten();

  private:
    friend class plD3dDevice;
    friend class plD3dTexture;
    plD3dSurface(plD3dDevice& device, const plD3dSurfaceDesc& desc, bool backBuffer);
    plD3dSurface(plD3dTexture& container, const plD3dSurfaceDesc& desc, u32 level);
    ~plD3dSurface() override;

    plD3dDevice& m_device;
    plD3dSurfaceDesc m_desc;
    bool m_backBuffer;
    plD3dTexture* m_container = nullptr;
    u32 m_level = 0;
    bool m_locked = false;
    bool m_lockedForWriting = false;
    u32 m_pitch = 0;
    std::vector<u8> m_pixels;
};
