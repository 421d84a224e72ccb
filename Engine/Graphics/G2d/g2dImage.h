#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"

#include <memory>

class g2dImagePAC;
class plD3dSurface;

// A picture in an image surface of the device (system memory), which the screen and the texture
// loaders copy from. Surfaces need the device: without one, or when the device refuses, the image
// stays without a surface (reported in the debug log) and Lock gives null.
class g2dImage {
  public:
    g2dImage();
    g2dImage(i32 width, i32 height, const g2dPixelFormat& format);
    ~g2dImage();
    g2dImage(const g2dImage&) = delete;
    g2dImage& operator=(const g2dImage&) = delete;

    // Replaces the surface with a new one of that size and format.
    void Recreate(i32 width, i32 height, const g2dPixelFormat& format);
    i32 GetWidth() const { return m_width; }
    i32 GetHeight() const { return m_height; }
    const g2dPixelFormat& GetPixelFormat() const { return m_format; }
    plD3dSurface* GetSurface() const;
    // The first texel, or null when the surface cannot be locked; the pitch holds while locked.
    u8* Lock();
    void Unlock();
    i32 GetPitch() const;
    // The file the image was last loaded from; empty for images made in memory.
    const fsLocator& GetLocator() const;
    void SetLocator(const fsLocator& locator);

  private:
    std::unique_ptr<g2dImagePAC> m_pac;
    g2dPixelFormat m_format;
    u16 m_width = 0;
    u16 m_height = 0;
};

// Reads a BMP or PNG in the screen's pixel format and remembers the file; fsFileDoesntExistX when
// there is no such file, g2dUnknownImageFileTypeX for other kinds of file.
void g2dLoadImage(const fsLocator& file, g2dImage& image);
void g2dLoadBMPImage(g2dImage& image, const fsLocator& file, const g2dPixelFormat& format);
// The alpha format for PNGs with an alpha channel (transparency included), else the opaque one.
void g2dLoadPNGImage(g2dImage& image, const fsLocator& file, const g2dPixelFormat& alphaFormat,
                     const g2dPixelFormat& opaqueFormat);
