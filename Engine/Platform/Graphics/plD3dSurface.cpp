#include "Engine/Platform/Graphics/plD3dSurface.h"

#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

plD3dSurface::plD3dSurface(plD3dDevice& device, const plD3dSurfaceDesc& desc, bool backBuffer)
    : m_device(device), m_desc(desc), m_backBuffer(backBuffer) {
    m_device.AddRef();
    m_device.AttachResource(m_desc.pool);
    if (!backBuffer && !IsDepthStencil()) {
        m_pitch = desc.width * plD3dBytesPerPixel(desc.format);
        m_pixels.assign(static_cast<size_t>(m_pitch) * desc.height, 0);
    }
}

plD3dSurface::plD3dSurface(plD3dTexture& container, const plD3dSurfaceDesc& desc, u32 level)
    : m_device(container.GetDevice()), m_desc(desc), m_backBuffer(false), m_container(&container),
      m_level(level) {
    m_pitch = desc.width * plD3dBytesPerPixel(desc.format);
    m_pixels.assign(static_cast<size_t>(m_pitch) * desc.height, 0);
}

plD3dSurface::~plD3dSurface() {
    if (m_container)
        return;
    m_device.DetachResource(m_desc.pool);
    m_device.Release();
}

u32 plD3dSurface::AddRef() {
    return m_container ? m_container->AddRef() : plD3dUnknown::AddRef();
}

u32 plD3dSurface::Release() {
    return m_container ? m_container->Release() : plD3dUnknown::Release();
}

plD3dResult plD3dSurface::LockRect(plD3dLockedRect* locked, const plD3dRect* rect, u32 flags) {
    if (!locked || m_backBuffer || IsDepthStencil() || m_locked ||
        (m_container && m_desc.pool == plD3dPool::Default))
        return plD3dErr::InvalidCall;
    const plD3dRect whole{0, 0, static_cast<i32>(m_desc.width), static_cast<i32>(m_desc.height)};
    const plD3dRect area = rect ? *rect : whole;
    if (area.left < 0 || area.top < 0 || area.left > area.right || area.top > area.bottom ||
        area.right > whole.right || area.bottom > whole.bottom)
        return plD3dErr::InvalidCall;
    m_locked = true;
    m_lockedForWriting = (flags & plD3dLock::ReadOnly) == 0;
    locked->pitch = static_cast<i32>(m_pitch);
    locked->bits = m_pixels.data() + static_cast<size_t>(area.top) * m_pitch +
                   static_cast<size_t>(area.left) * plD3dBytesPerPixel(m_desc.format);
    return plD3dErr::Ok;
}

plD3dResult plD3dSurface::UnlockRect() {
    if (!m_locked)
        return plD3dErr::InvalidCall;
    m_locked = false;
    if (m_lockedForWriting)
        MarkWritten();
    return plD3dErr::Ok;
}

void plD3dSurface::MarkWritten() {
    if (m_container)
        m_container->MarkLevelWritten(m_level);
}
