#include "Engine/Graphics/G3d/private/g3dTextureLoaders.h"

#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "Engine/Platform/Graphics/plD3dx.h"

#include <algorithm>

namespace {

void Report(plD3dResult result) {
    if (plD3dFailed(result))
        g2dReportDXError(result);
}

void ReadImage(g2dImage& image, const fsLocator& file, bool highColour, bool isPNG) {
    const g2dPixelFormat& opaque = highColour ? *g3dGetOpaqueHighFormat() : *g3dGetOpaque16Format();
    if (isPNG)
        g2dLoadPNGImage(image, file, highColour ? *g3dGetAlphaHighFormat() : *g3dGetAlpha16Format(), opaque);
    else
        g2dLoadBMPImage(image, file, opaque);
}

// One side of the texture: the image's shifted down, at least 1, at most the device's largest.
i32 TargetSide(i32 imageSide, i32 shift, u32 largest) {
    const i32 side = imageSide >> std::clamp(shift, 0, 30);
    return std::clamp(side, 1, static_cast<i32>(std::clamp<u32>(largest, 1, 0x7FFFFFFF)));
}

// The image, resampled when the sizes differ, into the texture's level.
void FillLevel(plD3dTexture& texture, u32 level, g2dImage& image) {
    plD3dSurface* surface = nullptr;
    Report(texture.GetSurfaceLevel(level, &surface));
    if (!surface)
        return;
    const plD3dSurfaceDesc& desc = surface->Desc();
    if (static_cast<i32>(desc.width) == image.GetWidth() &&
        static_cast<i32>(desc.height) == image.GetHeight())
        Report(g_pdevice->CopyRects(image.GetSurface(), nullptr, 0, surface, nullptr));
    else
        Report(plD3dxLoadSurfaceFromSurface(surface, nullptr, image.GetSurface(), nullptr,
                                            plD3dxFilter::Triangle, 0));
    surface->Release();
}

void LoadPlain(g3dPlainTexture& texture, const fsLocator& file, bool highColour, bool isPNG, i32 shiftX,
               i32 shiftY) {
    g2dImage image;
    ReadImage(image, file, highColour, isPNG);
    const plD3dCaps& caps = g2dScreenPAC::GetCaps();
    texture.GetPlainPAC().Create(TargetSide(image.GetWidth(), shiftX, caps.maxTextureWidth),
                                 TargetSide(image.GetHeight(), shiftY, caps.maxTextureHeight),
                                 image.GetPixelFormat());
    plD3dTexture* d3dTexture = texture.GetPAC()->GetTexture();
    if (!d3dTexture)
        return;
    texture.RefreshFromSurface();
    FillLevel(*d3dTexture, 0, image);
}

} // namespace

void g3dLoadPlainTextureBMP(g3dPlainTexture& texture, const fsLocator& file, bool highColour, i32 shiftX,
                            i32 shiftY) {
    LoadPlain(texture, file, highColour, false, shiftX, shiftY);
}

void g3dLoadPlainTexturePNG(g3dPlainTexture& texture, const fsLocator& file, bool highColour, i32 shiftX,
                            i32 shiftY) {
    LoadPlain(texture, file, highColour, true, shiftX, shiftY);
}

void g3dLoadMipTexture(g3dMipTexture& texture, const fsLocator& file, bool highColour, bool isPNG, i32 shiftX,
                       i32 shiftY) {
    g2dImage image;
    ReadImage(image, file, highColour, isPNG);
    const plD3dCaps& caps = g2dScreenPAC::GetCaps();
    const i32 width = TargetSide(image.GetWidth(), shiftX, caps.maxTextureWidth);
    const i32 height = TargetSide(image.GetHeight(), shiftY, caps.maxTextureHeight);
    texture.GetMipPAC().SetTexture(nullptr);
    // The levels are made in system memory and copied over.
    plD3dTexture* staging = nullptr;
    if (!g_pdevice)
        return;
    const plD3dResult made =
        g_pdevice->CreateTexture(static_cast<u32>(width), static_cast<u32>(height), 0, 0,
                                 image.GetPixelFormat().ToD3DFormat(), plD3dPool::SystemMem, &staging);
    Report(made);
    if (plD3dFailed(made))
        return;
    FillLevel(*staging, 0, image);
    Report(plD3dxFilterTexture(staging, 0, plD3dxFilter::Default));
    const u32 levels = staging->GetLevelCount();
    texture.GetMipPAC().Create(width, height, image.GetPixelFormat(), levels);
    if (plD3dTexture* target = texture.GetPAC()->GetTexture()) {
        texture.RefreshFromSurface();
        for (u32 level = 0; level < levels; ++level)
            Report(g_pdevice->CopyRects(staging->Level(level), nullptr, 0, target->Level(level), nullptr));
    }
    staging->Release();
}
