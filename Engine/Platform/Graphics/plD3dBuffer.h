#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"
#include "Engine/Platform/Graphics/plD3dUnknown.h"

#include <vector>

class plD3dDevice;

// A vertex or index buffer of the device. Its bytes are kept here: a lock hands out a range of them
// and Unlock tells the device, whose backend takes the range from there. Write-only buffers are never
// to be read through a lock. A buffer holds a reference to its device, so the device outlives it.
class plD3dBuffer : public plD3dUnknown {
  public:
    // The range [offset, offset + size), size 0 meaning to the end, locked once at a time. Discard
    // (dynamic buffers only) gives up the whole old contents; a range past the end is refused.
    plD3dResult Lock(u32 offset, u32 size, u8** data, u32 flags);
    plD3dResult Unlock();

    plD3dDevice& GetDevice() const { return m_device; }
    const plD3dBufferDesc& Desc() const { return m_desc; }
    bool IsLocked() const { return m_locked; }
    // The contents as the device holds them: what the unlocks have written.
    const u8* Data() const { return m_data.data(); }
    // The backend's own name for the buffer (an OpenGL buffer object), 0 for none; kept here so that
    // every draw finds it without a search.
    u32 GetBackendName() const { return m_backendName; }
    void SetBackendName(u32 name) { m_backendName = name; }

  protected:
    plD3dBuffer(plD3dDevice& device, const plD3dBufferDesc& desc);
    ~plD3dBuffer() override;

  private:
    friend class plD3dDevice;

    plD3dDevice& m_device;
    plD3dBufferDesc m_desc;
    std::vector<u8> m_data;
    bool m_locked = false;
    u32 m_lockOffset = 0;
    u32 m_lockSize = 0;
    u32 m_lockFlags = 0;
    u32 m_backendName = 0;
};

// Vertices of the buffer's vertex format, drawn through stream 0.
class plD3dVertexBuffer : public plD3dBuffer {
  private:
    friend class plD3dDevice;
    using plD3dBuffer::plD3dBuffer;
};

// Indices of the buffer's format, drawn through SetIndices.
class plD3dIndexBuffer : public plD3dBuffer {
  private:
    friend class plD3dDevice;
    using plD3dBuffer::plD3dBuffer;
};
