#pragma once
#include "Engine/Graphics/G2d/g2dPixelFormat.h"

#include <memory>

class plD3dTexture;

// The device side of a texture: the device texture, null when there is none (before creation, after a
// device loss, or when the device refused it).
class g3dTexturePAC {
  public:
    g3dTexturePAC() = default;
    virtual ~g3dTexturePAC();
    g3dTexturePAC(const g3dTexturePAC&) = delete;
    g3dTexturePAC& operator=(const g3dTexturePAC&) = delete;

    plD3dTexture* GetTexture() const { return m_texture; }
    // Takes the texture (null for none), releasing the one held before.
    void SetTexture(plD3dTexture* texture);
    // The mask of level 0 (see g3dTexture::BuildTransparencyMask); null when a device call fails.
    std::unique_ptr<u8[]> BuildTransparencyMask(f32 threshold, const g2dPixelFormat& format, i32 width,
                                                i32 height) const;

  protected:
    // A new texture in place of the old; failures are reported and leave none.
    void Make(i32 width, i32 height, u32 levels, u32 usage, const g2dPixelFormat& format, u32 pool);

  private:
    plD3dTexture* m_texture = nullptr;
};

class g3dPlainTexturePAC : public g3dTexturePAC {
  public:
    // One level, managed.
    void Create(i32 width, i32 height, const g2dPixelFormat& format);
};

class g3dMipTexturePAC : public g3dTexturePAC {
  public:
    void Create(i32 width, i32 height, const g2dPixelFormat& format, u32 levels);
};

class g3dRenderTargetTexturePAC : public g3dTexturePAC {
  public:
    // One level, drawn into, in the default pool.
    void Create(i32 width, i32 height, const g2dPixelFormat& format);
};
