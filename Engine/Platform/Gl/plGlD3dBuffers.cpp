#include "Engine/Platform/Gl/plGlD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>

namespace {

GLenum UsageHint(const plD3dBuffer& buffer) {
    return (buffer.Desc().usage & plD3dUsage::Dynamic) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW;
}

} // namespace

plD3dResult plGlD3dDevice::CreateVertexBuffer(u32 length, u32 usage, u32 fvf, u32 pool,
                                              plD3dVertexBuffer** buffer) {
    const plD3dResult result = plD3dDevice::CreateVertexBuffer(length, usage, fvf, pool, buffer);
    if (!plD3dFailed(result))
        MakeBufferObject(**buffer);
    return result;
}

plD3dResult plGlD3dDevice::CreateIndexBuffer(u32 length, u32 usage, plD3dFormat format, u32 pool,
                                             plD3dIndexBuffer** buffer) {
    const plD3dResult result = plD3dDevice::CreateIndexBuffer(length, usage, format, pool, buffer);
    if (!plD3dFailed(result))
        MakeBufferObject(**buffer);
    return result;
}

void plGlD3dDevice::MakeBufferObject(plD3dBuffer& buffer) {
    Prepare(0);
    // Buffer objects take any target for their data; the array target serves both kinds.
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glBufferData(GL_ARRAY_BUFFER, buffer.Desc().size, buffer.Data(), UsageHint(buffer));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    buffer.SetBackendName(name);
}

void plGlD3dDevice::OnBufferUnlocked(plD3dBuffer& buffer, u32 offset, u32 size, u32 flags) {
    plD3dDevice::OnBufferUnlocked(buffer, offset, size, flags);
    if (!buffer.GetBackendName())
        return;
    Prepare(0);
    glBindBuffer(GL_ARRAY_BUFFER, buffer.GetBackendName());
    // New storage, so the driver need not wait for draws still reading the old.
    if (flags & plD3dLock::Discard)
        glBufferData(GL_ARRAY_BUFFER, buffer.Desc().size, nullptr, UsageHint(buffer));
    glBufferSubData(GL_ARRAY_BUFFER, offset, size, buffer.Data() + offset);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void plGlD3dDevice::OnBufferDestroyed(plD3dBuffer& buffer) {
    plD3dDevice::OnBufferDestroyed(buffer);
    const GLuint name = buffer.GetBackendName();
    if (!name)
        return;
    Prepare(0);
    glDeleteBuffers(1, &name);
    buffer.SetBackendName(0);
    // Deleting a buffer object unpoints the arrays that read it.
    m_streamArrays.reset();
}

u32 plGlD3dDevice::GetBufferName(const plD3dBuffer& buffer) {
    return buffer.GetBackendName();
}
