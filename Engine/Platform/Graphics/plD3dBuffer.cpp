#include "Engine/Platform/Graphics/plD3dBuffer.h"

#include "Engine/Platform/Graphics/plD3dDevice.h"

plD3dBuffer::plD3dBuffer(plD3dDevice& device, const plD3dBufferDesc& desc)
    : m_device(device), m_desc(desc), m_data(desc.size, 0) {
    m_device.AddRef();
    m_device.AttachResource(desc.pool);
}

plD3dBuffer::~plD3dBuffer() {
    m_device.OnBufferDestroyed(*this);
    m_device.DetachResource(m_desc.pool);
    m_device.Release();
}

plD3dResult plD3dBuffer::Lock(u32 offset, u32 size, u8** data, u32 flags) {
    if (!data)
        return plD3dErr::InvalidCall;
    *data = nullptr;
    if (size == 0 && offset <= m_desc.size)
        size = m_desc.size - offset;
    if (m_locked || u64{offset} + size > m_desc.size ||
        ((flags & plD3dLock::Discard) && !(m_desc.usage & plD3dUsage::Dynamic)))
        return plD3dErr::InvalidCall;
    m_locked = true;
    m_lockOffset = offset;
    m_lockSize = size;
    m_lockFlags = flags;
    m_device.OnBufferLocked(*this, m_data.data(), offset, size, flags);
    *data = m_data.data() + offset;
    return plD3dErr::Ok;
}

plD3dResult plD3dBuffer::Unlock() {
    if (!m_locked)
        return plD3dErr::InvalidCall;
    m_locked = false;
    if (!(m_lockFlags & plD3dLock::ReadOnly))
        m_device.OnBufferUnlocked(*this, m_lockOffset, m_lockSize, m_lockFlags);
    return plD3dErr::Ok;
}
