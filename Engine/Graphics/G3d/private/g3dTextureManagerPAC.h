#pragma once
#include "Engine/Graphics/G3d/g3dTextureManager.h"

// Text drawn into a text texture: runs of a font, a string, a first column and a colour.
struct g3dTextRuns {
    std::vector<g2dFont> fonts;
    std::vector<envString> strings;
    std::vector<i32> xs;
    std::vector<g3dTextColour> colours;
};

// The device side of the texture manager: the tables of how each texture was made, their filling
// and the reset handler that empties and refills them.
namespace g3dTextureManagerPAC {

void RegisterResetHandler();
g3dPlainTexture* LoadPlainTexture(const fsLocator& file, i32 shiftX, i32 shiftY);
g3dMipTexture* LoadMipTexture(const fsLocator& file, i32 shiftX, i32 shiftY);
g3dRenderTargetTexture* CreateRenderTarget(i32 width, i32 height, const g2dPixelFormat& format);
g3dPlainTexture* CreateTextTexture(const g3dTextRuns& runs, i32 width, i32 height);
void DrawText(g3dPlainTexture* texture, const g3dTextRuns& runs);
// Plain, mip and render-target textures; others are not the tables'.
void ReleaseTexture(g3dTexture* texture);
u32 GetAvailableTextureMemory();

} // namespace g3dTextureManagerPAC
