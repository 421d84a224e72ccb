#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"
#include "Engine/Platform/Graphics/plD3dUnknown.h"

#include <vector>

class plD3dDevice;
class plD3dSurface;

// A texture of the device: a chain of levels, each half the size of the one before (at least 1), each a
// surface whose pixels are kept here. A backend that draws from its own copy uploads the levels written
// since it last looked. The texture holds a reference to its device.
class plD3dTexture : public plD3dUnknown {
  public:
    u32 GetLevelCount() const { return static_cast<u32>(m_levels.size()); }
    plD3dResult GetLevelDesc(u32 level, plD3dSurfaceDesc* desc) const;
    // The level's surface, with a new reference to the texture that Release on the surface gives back.
    plD3dResult GetSurfaceLevel(u32 level, plD3dSurface** surface);
    plD3dResult LockRect(u32 level, plD3dLockedRect* locked, const plD3dRect* rect, u32 flags);
    plD3dResult UnlockRect(u32 level);

    plD3dDevice& GetDevice() const { return m_device; }
    // The level without a new reference; null past the last.
    plD3dSurface* Level(u32 level) const { return level < m_levels.size() ? m_levels[level] : nullptr; }
    // Bit i for level i written since the last call; the bits are cleared.
    u32 TakeWrittenLevels();

    // The number of levels a full chain of that size has: floor(log2(max(width, height))) + 1.
    static u32 FullChainLength(u32 width, u32 height);

  private:
    friend class plD3dDevice;
    friend class plD3dSurface;
    plD3dTexture(plD3dDevice& device, u32 width, u32 height, u32 levels, u32 usage, plD3dFormat format,
                 u32 pool);
    ~plD3dTexture() override;

    void MarkLevelWritten(u32 level) { m_written |= 1u << level; }

    plD3dDevice& m_device;
    u32 m_pool;
    std::vector<plD3dSurface*> m_levels;
    u32 m_written;
};
