#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <cstring>

namespace {

// Reports a failed call; true when it failed.
bool Failed(plD3dResult result) {
    if (plD3dFailed(result))
        g2dReportDXError(result);
    return plD3dFailed(result);
}

} // namespace

g3dTexturePAC::~g3dTexturePAC() {
    SetTexture(nullptr);
}

void g3dTexturePAC::SetTexture(plD3dTexture* texture) {
    if (m_texture)
        m_texture->Release();
    m_texture = texture;
}

void g3dTexturePAC::Make(i32 width, i32 height, u32 levels, u32 usage, const g2dPixelFormat& format,
                         u32 pool) {
    SetTexture(nullptr);
    if (!g_pdevice) {
        DBG_WARNING("texture of %d x %d made without a device", width, height);
        return;
    }
    plD3dTexture* texture = nullptr;
    if (!Failed(g_pdevice->CreateTexture(static_cast<u32>(width), static_cast<u32>(height), levels, usage,
                                         format.ToD3DFormat(), pool, &texture)))
        SetTexture(texture);
}

void g3dPlainTexturePAC::Create(i32 width, i32 height, const g2dPixelFormat& format) {
    Make(width, height, 1, 0, format, plD3dPool::Managed);
}

void g3dMipTexturePAC::Create(i32 width, i32 height, const g2dPixelFormat& format, u32 levels) {
    Make(width, height, levels, 0, format, plD3dPool::Managed);
}

void g3dRenderTargetTexturePAC::Create(i32 width, i32 height, const g2dPixelFormat& format) {
    Make(width, height, 1, plD3dUsage::RenderTarget, format, plD3dPool::Default);
}

std::unique_ptr<u8[]> g3dTexturePAC::BuildTransparencyMask(f32 threshold, const g2dPixelFormat& format,
                                                           i32 width, i32 height) const {
    if (!m_texture)
        return nullptr;
    g2dImage image(width, height, format);
    plD3dSurface* level = nullptr;
    if (!image.GetSurface() || Failed(m_texture->GetSurfaceLevel(0, &level)))
        return nullptr;
    const bool copied = !Failed(g_pdevice->CopyRects(level, nullptr, 0, image.GetSurface(), nullptr));
    level->Release();
    plD3dLockedRect locked;
    if (!copied || Failed(image.GetSurface()->LockRect(&locked, nullptr,
                                                       plD3dLock::ReadOnly | plD3dLock::NoDirtyUpdate)))
        return nullptr;
    const u32 bytes = format.bitsPerPixel / 8;
    auto mask = std::make_unique<u8[]>(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (bytes == 2 || bytes == 4)
        for (i32 y = 0; y < height; ++y) {
            const u8* row =
                static_cast<const u8*>(locked.bits) + static_cast<std::ptrdiff_t>(y) * locked.pitch;
            for (i32 x = 0; x < width; ++x) {
                u32 texel = 0;
                std::memcpy(&texel, row + static_cast<size_t>(x) * bytes, bytes);
                const f32 alpha = static_cast<f32>(format.Unpack(texel)[3]) * (1.0f / 255.0f);
                mask[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                    alpha <= threshold ? 1 : 0;
            }
        }
    image.GetSurface()->UnlockRect();
    return mask;
}
