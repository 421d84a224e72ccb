#pragma once
#include "Engine/Graphics/G2d/g2dPixelFormat.h"

#include <memory>
#include <optional>

class g3dTexturePAC;
class g3dPlainTexturePAC;
class g3dMipTexturePAC;
class g3dRenderTargetTexturePAC;

// A texture: its size and the texel layout of its first level, the platform object the renderer
// binds, and a transparency mask for pixel-exact hit tests. Textures are made and released by the
// texture manager only; across a device reset the object stays and only its device texture changes.
class g3dTexture {
  public:
    virtual ~g3dTexture() = 0;
    g3dTexture(const g3dTexture&) = delete;
    g3dTexture& operator=(const g3dTexture&) = delete;

    void SetSize(i32 width, i32 height);
    void SetPixelFormat(const g2dPixelFormat& format) { m_format = format; }
    i32 GetWidth() const { return m_width; }
    i32 GetHeight() const { return m_height; }
    const g2dPixelFormat& GetPixelFormat() const { return m_format; }
    // Size and layout from the device texture's first level; nothing changes without one.
    void RefreshFromSurface();
    // Null for textures without a device texture of their own (flip-books).
    g3dTexturePAC* GetPAC() const { return m_pac; }

    // Width x height bytes, 1 where the texel counts as transparent; null until built.
    const u8* GetTransparencyMask() const { return m_mask.get(); }
    // A new mask: texels whose alpha x 1/255 is at most the threshold are transparent. Formats without
    // alpha get none; a failing device call leaves none.
    void BuildTransparencyMask(f32 threshold);
    void FreeTransparencyMask() { m_mask.reset(); }

  protected:
    g3dTexture() = default;
    void SetPAC(g3dTexturePAC* pac) { m_pac = pac; }

  private:
    u16 m_width = 0;
    u16 m_height = 0;
    g2dPixelFormat m_format;
    g3dTexturePAC* m_pac = nullptr;
    std::unique_ptr<u8[]> m_mask;
};

// Texels from left to right and top to bottom, both ends included; empty when right < left.
struct g3dTexelRect {
    i32 left = 0;
    i32 top = 0;
    i32 right = -1;
    i32 bottom = -1;
};

// A texture of one level: from an image file, or with text drawn into it.
class g3dPlainTexture : public g3dTexture {
  public:
    g3dPlainTexture();
    ~g3dPlainTexture() override;
    g3dPlainTexturePAC& GetPlainPAC() const { return *m_plain; }

    // For a text texture, the texels its text drew into (alpha above 0); none for other textures.
    const std::optional<g3dTexelRect>& GetInk() const { return m_ink; }
    void SetInk(const g3dTexelRect& ink) { m_ink = ink; }

  private:
    std::unique_ptr<g3dPlainTexturePAC> m_plain;
    std::optional<g3dTexelRect> m_ink;
};

// A texture with its chain of smaller levels, from an image file.
class g3dMipTexture : public g3dTexture {
  public:
    g3dMipTexture();
    ~g3dMipTexture() override;
    g3dMipTexturePAC& GetMipPAC() const { return *m_mip; }

  private:
    std::unique_ptr<g3dMipTexturePAC> m_mip;
};

// A texture scenes are drawn into; its contents do not survive a device reset.
class g3dRenderTargetTexture : public g3dTexture {
  public:
    g3dRenderTargetTexture();
    ~g3dRenderTargetTexture() override;
    g3dRenderTargetTexturePAC& GetRenderTargetPAC() const { return *m_target; }

  private:
    std::unique_ptr<g3dRenderTargetTexturePAC> m_target;
};
