#include "Engine/Graphics/G2d/g2dImage.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dImagePAC.h"

namespace {

// The rows in a new surface of the format; nothing is written when the surface cannot be locked.
void Fill(g2dImage& image, const g2dPixelRows& rows, const g2dPixelFormat& format) {
    image.Recreate(static_cast<i32>(rows.width), static_cast<i32>(rows.height), format);
    if (u8* texels = image.Lock()) {
        g2dRowsToTexels(texels, image.GetPitch(), format, rows);
        image.Unlock();
    }
}

} // namespace

g2dImage::g2dImage() : m_pac(std::make_unique<g2dImagePAC>()) {}

g2dImage::g2dImage(i32 width, i32 height, const g2dPixelFormat& format) : g2dImage() {
    Recreate(width, height, format);
}

g2dImage::~g2dImage() = default;

void g2dImage::Recreate(i32 width, i32 height, const g2dPixelFormat& format) {
    m_pac->Create(static_cast<u32>(width), static_cast<u32>(height), format.ToD3DFormat());
    m_format = format;
    m_width = static_cast<u16>(width);
    m_height = static_cast<u16>(height);
}

plD3dSurface* g2dImage::GetSurface() const {
    return m_pac->surface;
}

u8* g2dImage::Lock() {
    return m_pac->Lock();
}

void g2dImage::Unlock() {
    m_pac->Unlock();
}

i32 g2dImage::GetPitch() const {
    return m_pac->pitch;
}

const fsLocator& g2dImage::GetLocator() const {
    return m_pac->locator;
}

void g2dImage::SetLocator(const fsLocator& locator) {
    m_pac->locator = locator;
}

void g2dLoadImage(const fsLocator& file, g2dImage& image) {
    if (!gfFileExists(file))
        throw fsFileDoesntExistX(file);
    Fill(image, g2dDecodeImageFile(g2dReadImageFile(file), file), *g2dScreen::GetPixelFormat());
    image.SetLocator(file);
}

void g2dLoadBMPImage(g2dImage& image, const fsLocator& file, const g2dPixelFormat& format) {
    Fill(image, g2dReadBMP(file), format);
}

void g2dLoadPNGImage(g2dImage& image, const fsLocator& file, const g2dPixelFormat& alphaFormat,
                     const g2dPixelFormat& opaqueFormat) {
    const g2dPixelRows rows = g2dReadPNG(file);
    Fill(image, rows, rows.hasAlpha ? alphaFormat : opaqueFormat);
}
