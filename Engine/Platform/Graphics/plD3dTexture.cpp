#include "Engine/Platform/Graphics/plD3dTexture.h"

#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"

#include <algorithm>
#include <bit>

plD3dTexture::plD3dTexture(plD3dDevice& device, u32 width, u32 height, u32 levels, u32 usage,
                           plD3dFormat format, u32 pool)
    : m_device(device), m_pool(pool) {
    m_device.AddRef();
    m_device.AttachResource(pool);
    for (u32 level = 0; level < levels; ++level) {
        plD3dSurfaceDesc desc;
        desc.format = format;
        desc.usage = usage;
        desc.pool = pool;
        desc.width = std::max(width >> level, 1u);
        desc.height = std::max(height >> level, 1u);
        m_levels.push_back(new plD3dSurface(*this, desc, level));
    }
    // Every level is new to the backend.
    m_written = levels >= 32 ? ~0u : (1u << levels) - 1;
}

plD3dTexture::~plD3dTexture() {
    m_device.OnTextureDestroyed(*this);
    for (plD3dSurface* level : m_levels)
        delete level;
    m_device.DetachResource(m_pool);
    m_device.Release();
}

u32 plD3dTexture::FullChainLength(u32 width, u32 height) {
    return static_cast<u32>(std::bit_width(std::max({width, height, 1u})));
}

plD3dResult plD3dTexture::GetLevelDesc(u32 level, plD3dSurfaceDesc* desc) const {
    if (level >= m_levels.size() || !desc)
        return plD3dErr::InvalidCall;
    *desc = m_levels[level]->Desc();
    return plD3dErr::Ok;
}

plD3dResult plD3dTexture::GetSurfaceLevel(u32 level, plD3dSurface** surface) {
    if (!surface)
        return plD3dErr::InvalidCall;
    *surface = nullptr;
    if (level >= m_levels.size())
        return plD3dErr::InvalidCall;
    AddRef();
    *surface = m_levels[level];
    return plD3dErr::Ok;
}

plD3dResult plD3dTexture::LockRect(u32 level, plD3dLockedRect* locked, const plD3dRect* rect, u32 flags) {
    if (level >= m_levels.size())
        return plD3dErr::InvalidCall;
    return m_levels[level]->LockRect(locked, rect, flags);
}

plD3dResult plD3dTexture::UnlockRect(u32 level) {
    if (level >= m_levels.size())
        return plD3dErr::InvalidCall;
    return m_levels[level]->UnlockRect();
}

u32 plD3dTexture::TakeWrittenLevels() {
    const u32 written = m_written;
    m_written = 0;
    return written;
}
