#include "Engine/Graphics/G3d/g3dTexture.h"

#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

g3dTexture::~g3dTexture() = default;

void g3dTexture::SetSize(i32 width, i32 height) {
    m_width = static_cast<u16>(width);
    m_height = static_cast<u16>(height);
}

void g3dTexture::RefreshFromSurface() {
    plD3dTexture* texture = m_pac ? m_pac->GetTexture() : nullptr;
    plD3dSurfaceDesc desc;
    if (!texture || plD3dFailed(texture->GetLevelDesc(0, &desc)))
        return;
    SetSize(static_cast<i32>(desc.width), static_cast<i32>(desc.height));
    g2dGetPixelFormat(desc.format, m_format);
}

void g3dTexture::BuildTransparencyMask(f32 threshold) {
    m_mask.reset();
    if (m_pac && m_format.alphaBits != 0)
        m_mask = m_pac->BuildTransparencyMask(threshold, m_format, m_width, m_height);
}

g3dPlainTexture::g3dPlainTexture() : m_plain(std::make_unique<g3dPlainTexturePAC>()) {
    SetPAC(m_plain.get());
}
g3dPlainTexture::~g3dPlainTexture() = default;

g3dMipTexture::g3dMipTexture() : m_mip(std::make_unique<g3dMipTexturePAC>()) {
    SetPAC(m_mip.get());
}
g3dMipTexture::~g3dMipTexture() = default;

g3dRenderTargetTexture::g3dRenderTargetTexture() : m_target(std::make_unique<g3dRenderTargetTexturePAC>()) {
    SetPAC(m_target.get());
}
g3dRenderTargetTexture::~g3dRenderTargetTexture() = default;
